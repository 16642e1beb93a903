#include "qt/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <algorithm>

#include "qt/qt_progress.h"

namespace {

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The button that gives this answer.
QMessageBox::StandardButton buttonOf(int answer) {
    switch (answer) {
        case IDCANCEL:
            return QMessageBox::Cancel;
        case IDABORT:
            return QMessageBox::Abort;
        case IDRETRY:
            return QMessageBox::Retry;
        case IDIGNORE:
            return QMessageBox::Ignore;
        case IDYES:
            return QMessageBox::Yes;
        case IDNO:
            return QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

// The frames are hourglasses whose sand runs down; the hot spot is the centre.
QCursor busyCursor(const char* resource) {
    return QCursor(QPixmap(resource));
}

// The patterns a name filter lists in its parentheses: "MIDI Files (*.mid)" lists "*.mid".
QStringList patternsOf(const QString& nameFilter) {
    return nameFilter.section('(', -1).section(')', 0, 0).split(' ', Qt::SkipEmptyParts);
}

}  // namespace

QtUi::QtUi()
    : busyCursors_{busyCursor(":/cursors/BUSY1.xpm"), busyCursor(":/cursors/BUSY2.xpm"),
                   busyCursor(":/cursors/BUSY3.xpm")} {}

QtUi::~QtUi() {
    setCursor(CursorShape::Arrow);
}

void QtUi::setCursor(CursorShape shape) {
    switch (shape) {
        case CursorShape::Arrow:
            if (cursorOverridden_) {
                QApplication::restoreOverrideCursor();
                cursorOverridden_ = false;
            }
            return;
        case CursorShape::Wait:
            overrideCursor(QCursor(Qt::WaitCursor));
            return;
        case CursorShape::Busy1:
        case CursorShape::Busy2:
        case CursorShape::Busy3:
            overrideCursor(
                busyCursors_[static_cast<int>(shape) - static_cast<int>(CursorShape::Busy1)]);
            return;
    }
}

void QtUi::notice(const std::string& text) {
    if (messageLine_) {
        messageLine_(text);
    }
}

void QtUi::overrideCursor(const QCursor& cursor) {
    if (cursorOverridden_) {
        QApplication::changeOverrideCursor(cursor);
    } else {
        QApplication::setOverrideCursor(cursor);
        cursorOverridden_ = true;
    }
}

int QtUi::showMessage(const std::string& text, const std::string& caption, unsigned type) {
    QMessageBox box(iconOf(type), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    // The text is shown as given, even when it looks like markup (a path with "<").
    box.setTextFormat(Qt::PlainText);
    const std::span<const int> answers = buttonAnswers(type);
    for (const int answer : answers) {
        box.addButton(buttonOf(answer));
    }
    box.setDefaultButton(buttonOf(defaultAnswer(type)));
    // Escape and the window's close button give Cancel where the box has it, the single button
    // of a one-button box, and No on a Yes/No box.
    box.exec();
    for (const int answer : answers) {
        if (box.clickedButton() == box.button(buttonOf(answer))) {
            return answer;
        }
    }
    // Closed without a button: only when the program quits under the box.
    return IDCANCEL;
}

std::unique_ptr<Progress> QtUi::openProgress(const std::string& text, const std::string& title) {
    return std::make_unique<QtProgress>(text, title);
}

std::optional<std::string> QtUi::chooseFile(FileDialogKind kind,
                                            const std::string& filterDescription,
                                            const std::string& title,
                                            const std::string& initialName) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (kind != FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(kind == FileDialogKind::Open ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }

    const QFileInfo initial(QFile::decodeName(initialName.c_str()));
    // Several filters are separated by ";;", the first shown first.
    const QStringList filters =
        QString::fromStdString(filterDescription).split(QStringLiteral(";;"));
    const QString name = initial.fileName();
    dialog.setDirectory(initial.absolutePath());
    if (name.contains('*') || name.contains('?')) {
        // A pattern the filters do not list (the play list's "*.pll" in the MIDI file
        // dialog) comes first, so those names are the ones listed.
        const bool listed = std::any_of(filters.begin(), filters.end(), [&](const QString& f) {
            return patternsOf(f).contains(name);
        });
        dialog.setNameFilters(listed ? filters : QStringList{name} + filters);
    } else {
        dialog.setNameFilters(filters);
        dialog.selectFile(name);
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}
