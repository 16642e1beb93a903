#include "qt/qt_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <bit>
#include <functional>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "support/scratch_dir.h"

namespace {

// Runs act on the dialog the code under test opens next, as soon as it shows. A dialog that act
// leaves open is closed with a failure, so a broken test cannot wait for ever.
template <typename Dialog>
void whenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr) << "no dialog is showing";
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            act(*dialog);
        } else {
            ADD_FAILURE() << "another kind of dialog is showing";
        }
        if (modal->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            modal->reject();
        }
    });
}

// Shows a captioned box of this type and answers it by act.
int answer(QtUi& ui, unsigned type, std::function<void(QMessageBox&)> act) {
    whenShown<QMessageBox>(std::move(act));
    return ui.errorBox("text", "caption", type);
}

TEST(QtUiMessageBox, ErrorBoxWithoutCaptionIsTitledErrorWithTheStopIconOverTheActiveWindow) {
    QtUi ui;
    whenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Error");
        EXPECT_EQ(box.text(), "/music/a.mid Not found");
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ui.errorBox("/music/a.mid Not found"), IDOK);

    // The question icon's bit with the stop icon's would make the exclamation icon.
    whenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui.errorBox("Replace?", std::nullopt, MB_YESNO | MB_ICONQUESTION), IDNO);

    // The box is owned by the active window.
    QWidget window;
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &window);
    whenShown<QMessageBox>([&window](QMessageBox& box) {
        EXPECT_EQ(box.parentWidget(), &window);
        box.button(QMessageBox::Ok)->click();
    });
    ui.errorBox("Not a valid Midi file");
}

TEST(QtUiMessageBox, TypeChoosesTheButtonsTheIconAndTheDefaultButton) {
    using B = QMessageBox;
    const std::map<B::StandardButton, int> ids = {
        {B::Ok, IDOK},         {B::Cancel, IDCANCEL}, {B::Abort, IDABORT}, {B::Retry, IDRETRY},
        {B::Ignore, IDIGNORE}, {B::Yes, IDYES},       {B::No, IDNO}};
    const std::vector<std::pair<unsigned, B::StandardButtons>> styles = {
        {MB_OK, B::Ok},
        {MB_OKCANCEL, B::Ok | B::Cancel},
        {MB_ABORTRETRYIGNORE, B::Abort | B::Retry | B::Ignore},
        {MB_YESNOCANCEL, B::Yes | B::No | B::Cancel},
        {MB_YESNO, B::Yes | B::No},
        {MB_RETRYCANCEL, B::Retry | B::Cancel}};
    QtUi ui;
    for (const auto& [style, buttons] : styles) {
        for (int pressed = 0; pressed < std::popcount(unsigned(buttons.toInt())); ++pressed) {
            B::StandardButton button = B::NoButton;
            const int id = answer(ui, style, [&, pressed, buttons = buttons](B& box) {
                EXPECT_EQ(box.standardButtons(), buttons);
                button = box.standardButton(box.buttons().at(pressed));
                box.buttons().at(pressed)->click();
            });
            EXPECT_EQ(id, ids.at(button)) << "style " << style;
        }
    }
    const std::map<unsigned, B::Icon> icons = {{MB_OK, B::NoIcon},
                                               {MB_ICONHAND, B::Critical},
                                               {MB_ICONQUESTION, B::Question},
                                               {MB_ICONEXCLAMATION, B::Warning},
                                               {MB_ICONINFORMATION, B::Information}};
    for (const auto& [type, icon] : icons) {
        answer(ui, type, [icon = icon](B& box) {
            EXPECT_EQ(box.icon(), icon);
            box.button(B::Ok)->click();
        });
    }

    // Enter presses the default button; Escape cancels, or answers as the only way out.
    const std::vector<std::tuple<unsigned, Qt::Key, int>> presses = {
        {MB_YESNOCANCEL, Qt::Key_Return, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, Qt::Key_Return, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, Qt::Key_Return, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON3, Qt::Key_Return, IDYES},
        {MB_YESNOCANCEL, Qt::Key_Escape, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, Qt::Key_Escape, IDCANCEL},
        {MB_RETRYCANCEL, Qt::Key_Escape, IDCANCEL},
        {MB_OK, Qt::Key_Escape, IDOK},
        {MB_YESNO, Qt::Key_Escape, IDNO}};
    for (const auto& [type, key, id] : presses) {
        EXPECT_EQ(answer(ui, type, [key = key](QMessageBox& box) { QTest::keyClick(&box, key); }),
                  id)
            << "type " << type << ", key " << key;
    }
}

TEST(QtUiCursor, ArrowTakesBackTheCursorsSetBeforeIt) {
    QtUi ui;
    ui.setCursor(CursorShape::Wait);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.setCursor(CursorShape::Arrow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A long load: the wait cursor, the busy frames many times over, the arrow once.
    ui.setCursor(CursorShape::Wait);
    for (int step = 0; step < 30; ++step) {
        ui.busyCursorStep(step % 3 + 1);
    }
    ui.setCursor(CursorShape::Arrow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    {
        QtUi closedWhileWaiting;
        closedWhileWaiting.setCursor(CursorShape::Wait);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUiCursor, BusyFramesAreThreeDifferentPicturesAndArrowTakesOnlyOurs) {
    QtUi ui;
    std::vector<QImage> frames;
    for (int phase = 1; phase <= 3; ++phase) {
        ui.busyCursorStep(phase);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BitmapCursor);
        frames.push_back(QApplication::overrideCursor()->pixmap().toImage());
        ASSERT_FALSE(frames.back().isNull()) << "frame " << phase;
    }
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_NE(frames[1], frames[2]);
    EXPECT_NE(frames[0], frames[2]);
    ui.setCursor(CursorShape::Arrow);

    QApplication::setOverrideCursor(Qt::CrossCursor);
    ui.setCursor(CursorShape::Arrow);
    ASSERT_NE(QApplication::overrideCursor(), nullptr) << "another's cursor is left alone";
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}

QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

TEST(QtUiFileDialog, OpenAndSaveShowTheFolderPatternAndFiltersAndSaveReplacesWithoutAsking) {
    ScratchDir dir;
    ScratchDir::write(dir / "song.mid", "MThd");
    QtUi ui;
    whenShown<QFileDialog>([&dir](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Open MIDI File");
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.directory().absolutePath(), qtPath(dir.path()));
        EXPECT_EQ(dialog.nameFilters(), QStringList{"MIDI Files (*.mid)"});
        dialog.selectFile("song.mid");
        // Protected in QFileDialog, public in QDialog; QFileDialog::accept() runs either way.
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_EQ(ui.chooseFile(FileDialogKind::Open, "MIDI Files (*.mid)", "Open MIDI File",
                            (dir / "*.mid").string()),
              (dir / "song.mid").string());

    whenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(ui.chooseFile(FileDialogKind::Open, "MIDI Files (*.mid)", "Open MIDI File",
                            (dir / "*.mid").string()),
              std::nullopt);

    // Save offers the name and replaces it without asking: its callers ask "Do you want to
    // replace the file?" themselves.
    whenShown<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        QTimer question;
        QObject::connect(&question, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "asked: " << box->text().toStdString();
                box->reject();
            }
        });
        question.start(0);
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_EQ(ui.chooseFile(FileDialogKind::Save, "MIDI Files (*.mid)", "Save MIDI File",
                            (dir / "song.mid").string()),
              (dir / "song.mid").string());

    // Filters are listed apart, and a pattern they do not name comes first.
    whenShown<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(), QStringList({"WAV Files (*.wav)", "FLAC Files (*.flac)",
                                                     "Ogg Vorbis Files (*.ogg)"}));
        dialog.reject();
    });
    ui.chooseFile(FileDialogKind::Save,
                  "WAV Files (*.wav);;FLAC Files (*.flac);;Ogg Vorbis Files (*.ogg)",
                  "Export Audio", (dir / "song.wav").string());

    whenShown<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(), QStringList({"*.pll", "MIDI Files (*.mid)"}));
        EXPECT_EQ(dialog.selectedNameFilter(), "*.pll");
        dialog.reject();
    });
    ui.chooseFile(FileDialogKind::Open, "MIDI Files (*.mid)", "Open MIDI File",
                  (dir / "*.pll").string());
}

TEST(QtUiProgress, CancelStopsTheWorkAtTheNextStep) {
    QtUi ui;
    const auto progress = ui.openProgress("Exporting song.wav...", "Export Audio");
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Export Audio");
    EXPECT_EQ(dialog->labelText(), "Exporting song.wav...");
    EXPECT_TRUE(progress->step(0.5));
    EXPECT_EQ(dialog->value(), 500);
    dialog->findChild<QPushButton*>()->click();
    EXPECT_FALSE(progress->step(0.6));
}

}  // namespace
