#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/staff_surface.h"

namespace {

class EditCommandsTest : public MainWindowTest {
protected:
    // A note entered by a click at the start of the treble staff.
    void startWithANote() {
        start();
        QTest::mouseClick(&current().surface(), Qt::LeftButton, {}, QPoint(noteX(), 75));
        ASSERT_EQ(track0().count(), 1);
    }
    int noteX() const { return current().page().TickToX(0) + 5; }
    Track& track0() const { return current().document().song.track(0); }
    // Dialogs get text typed into their line edit and OK pressed.
    void typeIntoDialogs(const QString& text) {
        window->setDialogRunner([text](QDialog& dialog) {
            dialog.findChild<QLineEdit*>()->setText(text);
            dialog.accept();
            return dialog.result();
        });
    }
    void copyTrack() {
        window->command(command::kSelectEntireTrack);
        window->command(command::kCopy);
    }
};

TEST_F(EditCommandsTest, AClickOnTheStaffEntersANoteDrawnAtOnce) {
    startWithANote();
    EXPECT_EQ(current().surface().image().pixelColor(noteX() + 1, 75), QColor(128, 0, 0));
}

TEST_F(EditCommandsTest, SelectingMakesCutAndCopyUsable) {
    startWithANote();
    window->command(command::kSelectEntireTrack);
    EXPECT_FALSE(itemEnabled(command::kSetCutCopy));
    EXPECT_TRUE(itemEnabled(command::kCopy));
    EXPECT_FALSE(itemEnabled(command::kPaste));
}

TEST_F(EditCommandsTest, CopyFillsThePasteBufferAndMakesPasteUsable) {
    startWithANote();
    copyTrack();
    EXPECT_EQ(ui.notices.back(), "1 items placed in paste buffer");
    EXPECT_TRUE(itemEnabled(command::kPaste));
    EXPECT_FALSE(itemEnabled(command::kCopy));
    EXPECT_TRUE(itemEnabled(command::kSetCutCopy));
}

TEST_F(EditCommandsTest, PastePutsTheBufferAtTheTypedBeat) {
    startWithANote();
    copyTrack();
    typeIntoDialogs("1:0");
    window->command(command::kPaste);
    ASSERT_EQ(track0().count(), 2);
    EXPECT_EQ(track0().at(1)->time(), 480);
}

TEST_F(EditCommandsTest, SetFirstNoteMovesTheSongToTheTypedBeat) {
    startWithANote();
    typeIntoDialogs("0:240");
    window->command(command::kSetFirstNote);
    EXPECT_EQ(track0().at(0)->time(), 240);
}

TEST_F(EditCommandsTest, DeleteCurrentTrackEmptiesItAndForgetsItsVoice) {
    start(songFile("t.mid"));
    current().document().song.program[0] = 5;
    window->command(command::kDeleteCurrentTrack);
    EXPECT_TRUE(track0().empty());
    EXPECT_EQ(current().document().song.program[0], OMBData::kNoProgram);
    EXPECT_TRUE(current().document().song.changed);
}

TEST_F(EditCommandsTest, DottedAndTheInputModesSetTheEntryOptions) {
    start();
    window->command(command::kDotted);
    EXPECT_TRUE(window->editSettings().dotted);
    window->command(command::kFreeFormInput);
    EXPECT_EQ(window->editSettings().inputMode, EditSettings::InputMode::FreeForm);
    EXPECT_FALSE(window->menu().isChecked(command::kAlignToBeat));
    EXPECT_TRUE(window->menu().isChecked(command::kFreeFormInput));
}

TEST_F(EditCommandsTest, AClickWhilePlayingIsRefusedWithItsNotice) {
    startWithANote();
    window->transport().setPlayActive(true);
    QTest::mouseClick(&current().surface(), Qt::LeftButton, {}, QPoint(noteX(), 75));
    EXPECT_EQ(ui.notices.back(), "In Play - Press Stop to access controls");
    EXPECT_EQ(track0().count(), 1);
}

}  // namespace
