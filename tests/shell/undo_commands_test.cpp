#include <QComboBox>
#include <QDialog>
#include <QMenuBar>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/key_window.h"
#include "notation/staff_surface.h"

namespace {

class UndoCommandsTest : public MainWindowTest {
protected:
    // A new song with a note entered by a click at the start of the treble staff.
    void startWithANote() {
        start();
        clickNote();
        ASSERT_EQ(track0().count(), 1);
    }
    void clickNote() {
        QTest::mouseClick(&current().surface(), Qt::LeftButton, {}, QPoint(noteX(), 75));
    }
    int noteX() const { return current().page().TickToX(0) + 5; }
    Track& track0() const { return current().document().song.track(0); }
    bool noteShows() const {
        return current().surface().image().pixelColor(noteX() + 1, 75) == QColor(128, 0, 0);
    }
    QString itemText(int id) const { return window->menu().action(id)->text(); }
    void press(QKeyCombination keys) { press(*window, keys); }
    static void press(QWidget& target, QKeyCombination keys) {
        target.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&target));
        QTest::keyClick(&target, keys.key(), keys.keyboardModifiers());
    }
};

TEST_F(UndoCommandsTest, TheEditMenuStartsWithUndoAndRedoGreyedForANewSong) {
    start();
    const QList<QAction*> items = window->menuBar()->actions()[1]->menu()->actions();
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items[0], window->menu().action(command::kUndo));
    EXPECT_EQ(items[1], window->menu().action(command::kRedo));
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(itemText(command::kUndo), "&Undo\tCtrl+Z");
    EXPECT_EQ(itemText(command::kRedo), "&Redo\tCtrl+Y");
    EXPECT_FALSE(itemEnabled(command::kUndo));
    EXPECT_FALSE(itemEnabled(command::kRedo));
}

TEST_F(UndoCommandsTest, CtrlZTakesTheEnteredNoteOffThePageAndCtrlYBringsItBack) {
    startWithANote();
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
}

TEST_F(UndoCommandsTest, UndoShowsThePageWhereTheChangeWas) {
    startWithANote();
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

TEST_F(UndoCommandsTest, TheChangedFlagFollowsTheSaveThroughUndoAndRedo) {
    startWithANote();
    window->command(command::kSave);
    EXPECT_FALSE(current().document().song.changed);
    clickNote();  // deletes the note
    EXPECT_TRUE(current().document().song.changed);
    window->command(command::kUndo);
    EXPECT_FALSE(current().document().song.changed) << "back at the saved state";
    window->command(command::kUndo);
    EXPECT_TRUE(current().document().song.changed) << "undone past the save";
    window->command(command::kRedo);
    EXPECT_FALSE(current().document().song.changed);
    window->command(command::kExit);
    EXPECT_TRUE(ui.boxes.empty()) << "nothing to ask about at exit";
}

TEST_F(UndoCommandsTest, UndoPastTheSaveIsAskedAboutAtExit) {
    startWithANote();
    window->command(command::kSave);
    window->command(command::kUndo);
    ui.answerNext(IDNO);
    window->command(command::kExit);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{current().document().fileName +
                                                   " has changed. Do you want to save it?"});
}

TEST_F(UndoCommandsTest, UndoAfterTheFirstSaveLeavesTheSongAsTheStepFoundIt) {
    // The first save gives track 0 its tempo, time signature and key signature.
    startWithANote();
    window->command(command::kSave);
    EXPECT_EQ(track0().count(), 4);
    window->command(command::kUndo);
    EXPECT_TRUE(track0().empty());
    window->command(command::kRedo);
    EXPECT_EQ(track0().count(), 4);
    EXPECT_FALSE(current().document().song.changed);
}

TEST_F(UndoCommandsTest, DeleteCurrentTrackUndoneBringsBackItsVoiceInTheTrackList) {
    start(songFile("t.mid"));
    current().document().song.program[0] = 5;
    window->command(command::kWindowFirst);  // the track list shows the voice
    const int elements = track0().count();
    const QString voice = window->toolbar().trackCombo()->itemText(0);
    window->command(command::kDeleteCurrentTrack);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Delete Current Track\tCtrl+Z");
    EXPECT_NE(window->toolbar().trackCombo()->itemText(0), voice);
    window->command(command::kUndo);
    EXPECT_EQ(track0().count(), elements);
    EXPECT_EQ(current().document().song.program[0], 5);
    EXPECT_EQ(window->toolbar().trackCombo()->itemText(0), voice);
}

TEST_F(UndoCommandsTest, TimeSignatureIsAStep) {
    startWithANote();
    window->setDialogRunner([](QDialog& dialog) {
        dialog.findChildren<QComboBox*>()[0]->setCurrentText("3");
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kTimeSignature);
    EXPECT_EQ(app->timing.beatsPerBar, 3);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Time Signature\tCtrl+Z");
    window->command(command::kUndo);
    EXPECT_EQ(app->timing.beatsPerBar, 4);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Note Entry\tCtrl+Z");
}

TEST_F(UndoCommandsTest, CtrlZInTheKeyWindowUndoesItsChoiceAndTheWindowShowsTheKeyBack) {
    start();
    window->command(command::kKeySignature);
    KeyWindow* keys = window->findChild<KeyWindow*>();
    ASSERT_NE(keys, nullptr);
    const int cMajor = keys->keys().currentIndex();
    keys->keys().setCurrentIndex(cMajor + 2);
    emit keys->keys().activated(cMajor + 2);
    ASSERT_EQ(current().document().song.keySignatureSum(), 2);

    press(*keys, Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(current().document().song.keySignatureSum(), 0);
    EXPECT_EQ(keys->keys().currentIndex(), cMajor);
    window->command(command::kRedo);
    EXPECT_EQ(keys->keys().currentIndex(), cMajor + 2);
}

TEST_F(UndoCommandsTest, EachSongHasItsOwnHistory) {
    startWithANote();
    window->command(command::kNew);
    EXPECT_FALSE(itemEnabled(command::kUndo));
    window->command(command::kWindowFirst);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Note Entry\tCtrl+Z");
}

TEST_F(UndoCommandsTest, UndoWhilePlayingIsRefused) {
    startWithANote();
    window->transport().setPlayActive(true);
    window->command(command::kUndo);
    EXPECT_EQ(ui.notices.back(), kPlayMode);
    EXPECT_EQ(track0().count(), 1);
    window->transport().setPlayActive(false);
}

}  // namespace
