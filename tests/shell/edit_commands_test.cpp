#include <QComboBox>
#include <QDialog>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/key_window.h"

namespace {

// The Edit menu: notes entered by a click, the paste buffer, and undo and redo.
class EditCommandsTest : public MainWindowTest {
protected:
    bool noteShows() const {
        return current().surface().image().pixelColor(noteX() + 1, 75) == QColor(128, 0, 0);
    }
};

TEST_F(EditCommandsTest, CtrlZTakesTheEnteredNoteOffThePageAndCtrlYBringsItBackWhereverThePageIs) {
    startWithANote();
    EXPECT_TRUE(noteShows()) << "the click draws the note at once";
    EXPECT_EQ(itemText(command::kUndo), "&Undo Note Entry\tCtrl+Z");
    EXPECT_TRUE(itemEnabled(command::kUndo));

    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_TRUE(track0().empty());
    EXPECT_FALSE(noteShows());
    EXPECT_EQ(itemText(command::kRedo), "&Redo Note Entry\tCtrl+Y");
    EXPECT_FALSE(itemEnabled(command::kUndo));

    press(Qt::CTRL | Qt::Key_Y);
    EXPECT_EQ(track0().count(), 1);
    EXPECT_TRUE(noteShows());

    window->command(command::kUndo);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_EQ(track0().count(), 1);

    // Undo and redo show the page where the change was.
    current().nextPage();
    current().nextPage();
    window->command(command::kUndo);
    EXPECT_EQ(current().page().firstBar(), 1);
    window->command(command::kRedo);
    current().nextPage();
    const int firstBar = current().page().firstBar();
    window->command(command::kUndo);
    EXPECT_EQ(current().page().firstBar(), 1);
    EXPECT_NE(firstBar, 1);
}

TEST_F(EditCommandsTest, TheChangedFlagFollowsTheSaveThroughUndoAndRedo) {
    startWithANote();
    window->command(command::kSave);
    EXPECT_EQ(track0().count(), 5) << "the note, and the tempo, signatures and name saved";
    EXPECT_FALSE(song().changed);
    clickNote();  // deletes the note
    EXPECT_TRUE(song().changed);
    window->command(command::kUndo);
    EXPECT_FALSE(song().changed) << "back at the saved state";
    window->command(command::kUndo);
    EXPECT_TRUE(track0().empty());
    EXPECT_TRUE(song().changed) << "undone past the save";
    ui.answerNext(IDCANCEL);
    window->command(command::kExit);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{current().document().fileName +
                                                   " has changed. Do you want to save it?"});
    window->command(command::kRedo);
    EXPECT_EQ(track0().count(), 5);
    EXPECT_FALSE(song().changed);
    window->command(command::kExit);
    EXPECT_EQ(ui.boxes.size(), 1u) << "nothing more to ask about at exit";
}

TEST_F(EditCommandsTest, DeleteCurrentTrackEmptiesItAndUndoBringsBackItsVoice) {
    start(songFile("t.mid"));
    song().program[0] = 5;
    window->command(command::kWindowFirst);  // the track list shows the voice
    const int elements = track0().count();
    const QString voice = window->toolbar().trackCombo()->itemText(0);
    window->command(command::kDeleteCurrentTrack);
    EXPECT_TRUE(track0().empty());
    EXPECT_EQ(song().program[0], OMBData::kNoProgram);
    EXPECT_TRUE(song().changed);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Delete Current Track\tCtrl+Z");
    EXPECT_NE(window->toolbar().trackCombo()->itemText(0), voice);
    window->command(command::kUndo);
    EXPECT_EQ(track0().count(), elements);
    EXPECT_EQ(song().program[0], 5);
    EXPECT_EQ(window->toolbar().trackCombo()->itemText(0), voice);
}

TEST_F(EditCommandsTest, TimeSignatureIsAStep) {
    startWithANote();
    window->setDialogRunner([](QDialog& dialog) {
        dialog.findChildren<QComboBox*>()[0]->setCurrentText("3");
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kTimeSignature);
    EXPECT_EQ(song().timeSignature.beatsPerBar, 3);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Time Signature\tCtrl+Z");
    window->command(command::kUndo);
    EXPECT_EQ(song().timeSignature.beatsPerBar, 4);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Note Entry\tCtrl+Z");
}

TEST_F(EditCommandsTest, CtrlZInTheKeyWindowUndoesItsChoiceAndTheWindowShowsTheKeyBack) {
    start();
    window->command(command::kKeySignature);
    KeyWindow* keys = window->findChild<KeyWindow*>();
    ASSERT_NE(keys, nullptr);
    const int cMajor = keys->keys().currentIndex();
    keys->keys().setCurrentIndex(cMajor + 2);
    emit keys->keys().activated(cMajor + 2);
    ASSERT_EQ(song().keySignatureSum(), 2);

    press(*keys, Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(song().keySignatureSum(), 0);
    EXPECT_EQ(keys->keys().currentIndex(), cMajor);
    window->command(command::kRedo);
    EXPECT_EQ(keys->keys().currentIndex(), cMajor + 2);
}

TEST_F(EditCommandsTest, EachSongHasItsOwnHistoryAndUndoWhilePlayingIsRefused) {
    startWithANote();
    window->command(command::kNew);
    EXPECT_EQ(itemText(command::kUndo), "&Undo\tCtrl+Z");
    EXPECT_EQ(itemText(command::kRedo), "&Redo\tCtrl+Y");
    EXPECT_FALSE(itemEnabled(command::kUndo));
    EXPECT_FALSE(itemEnabled(command::kRedo));
    window->command(command::kWindowFirst);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Note Entry\tCtrl+Z");

    window->transport().setPlayActive(true);
    window->command(command::kUndo);
    EXPECT_EQ(ui.notices.back(), kPlayMode);
    EXPECT_EQ(track0().count(), 1);
    window->transport().setPlayActive(false);
}

TEST_F(EditCommandsTest, SelectCopyPasteTheEntryOptionsAndNoEntryWhilePlaying) {
    startWithANote();
    window->command(command::kSelectEntireTrack);
    EXPECT_FALSE(itemEnabled(command::kSetCutCopy));
    EXPECT_TRUE(itemEnabled(command::kCopy));
    EXPECT_FALSE(itemEnabled(command::kPaste));
    window->command(command::kCopy);
    EXPECT_EQ(ui.notices.back(), "1 items placed in paste buffer");
    EXPECT_TRUE(itemEnabled(command::kPaste));
    EXPECT_FALSE(itemEnabled(command::kCopy));
    EXPECT_TRUE(itemEnabled(command::kSetCutCopy));

    typeIntoTheNextDialog("1:0");
    window->command(command::kPaste);
    ASSERT_EQ(track0().count(), 2);
    EXPECT_EQ(track0().at(1)->time(), 480);

    window->command(command::kDotted);
    EXPECT_TRUE(window->editSettings().dotted);
    window->command(command::kFreeFormInput);
    EXPECT_EQ(window->editSettings().inputMode, EditSettings::InputMode::FreeForm);
    EXPECT_FALSE(window->menu().isChecked(command::kAlignToBeat));
    EXPECT_TRUE(window->menu().isChecked(command::kFreeFormInput));

    window->transport().setPlayActive(true);
    clickNote();
    EXPECT_EQ(ui.notices.back(), "In Play - Press Stop to access controls");
    EXPECT_EQ(track0().count(), 2) << "a click while playing is refused";
    window->transport().setPlayActive(false);
}

}  // namespace
