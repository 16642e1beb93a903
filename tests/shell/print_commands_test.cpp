#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "main_window_fixture.h"
#include "notation/preview_window.h"
#include "notation/title_author_dialog.h"

namespace {

class PrintCommandsTest : public MainWindowTest {
protected:
    // Answers the Title / Author dialog with title and author, or cancels it when title is
    // empty; records the page range the print dialog proposes and prints all pages to pdf, or
    // cancels it when pdf is empty.
    void answerDialogs(const QString& title, const std::string& pdf = {}) {
        window->setDialogRunner([this, title, pdf](QDialog& dialog) {
            if (auto* names = qobject_cast<TitleAuthorDialog*>(&dialog)) {
                dialogs << "Title / Author";
                names->title().setText(title);
                names->author().setText("Trad.");
                title.isEmpty() ? dialog.reject() : dialog.accept();
                return dialog.result();
            }
            auto& print = static_cast<QPrintDialog&>(dialog);
            QPrinter& printer = *print.printer();
            dialogs << QStringLiteral("Print %1-%2 of %3-%4")
                           .arg(printer.fromPage())
                           .arg(printer.toPage())
                           .arg(print.minPage())
                           .arg(print.maxPage());
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            printer.setPrintRange(QPrinter::AllPages);
            // Accepting would copy the dialog's own fields over these, as a user's choice.
            return int{pdf.empty() ? QDialog::Rejected : QDialog::Accepted};
        });
    }

    QStringList dialogs;
};

TEST_F(PrintCommandsTest, PreviewAsksForATitleAsOneUndoStepAndPrintProposesThePageOfTheFirstBar) {
    start(songFile("tune.mid"));
    answerDialogs({});
    window->command(command::kPrintPreview);
    EXPECT_EQ(window->previewWindow(), nullptr) << "a cancelled title ends Print Preview";

    answerDialogs("Tune");
    window->command(command::kPrintPreview);
    EXPECT_EQ(dialogs, (QStringList{"Title / Author", "Title / Author"}));
    EXPECT_EQ(song().title(), "Tune");
    EXPECT_EQ(window->menu().action(command::kUndo)->text(), "&Undo Title / Author\tCtrl+Z");
    window->command(command::kUndo);
    EXPECT_EQ(song().title(), "");
    EXPECT_EQ(song().author(), "");
    EXPECT_FALSE(window->menu().action(command::kUndo)->isEnabled());

    PreviewWindow* preview = window->previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), "Print Preview");
    EXPECT_EQ(preview->size(), QSize(PreviewWindow::kWidth, PreviewWindow::kHeight));
    preview->nextButton().click();
    EXPECT_EQ(preview->job().line(), 5);
    EXPECT_EQ(preview->job().page(), 2);
    preview->prevButton().click();
    EXPECT_EQ(preview->job().line(), 1);
    preview->prevButton().click();
    EXPECT_EQ(preview->job().line(), 1);
    preview->cancelButton().click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->previewWindow(), nullptr);

    // Print: a titled song asks no title; the page of the first bar is proposed.
    dialogs.clear();
    song().setTitle("Tune");
    answerDialogs("Tune");
    for (const int firstBar : {9, 24}) {
        current().page().setFirstBar(firstBar);
        window->command(command::kPrint);
    }
    EXPECT_EQ(dialogs, (QStringList{"Print 1-1 of 1-1000", "Print 2-2 of 1-1000"}));

    const std::string pdf = (dir / "tune.pdf").string();
    answerDialogs("Tune", pdf);
    window->command(command::kPrint);
    EXPECT_EQ(ScratchDir::read(pdf).substr(0, 5), "%PDF-");
    EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
