#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/song_summary_dialog.h"
#include "notation/transpose_dialog.h"
#include "notation/volume_dialog.h"

namespace {

class WholeSongCommandsTest : public MainWindowTest {
protected:
    void addNote(int track, int key, int velocity = 80) {
        const StaffPitch pitch = song().spellKey(key);
        song().track(track).add(
            std::make_unique<Note>(0, velocity, 120, pitch.position, pitch.accidental, track));
    }
    const Note& noteOf(int track) const {
        return static_cast<const Note&>(*song().track(track).at(0));
    }
    int keyOf(int track) const {
        return song().keyOf(noteOf(track).position(), noteOf(track).accidental());
    }
};

TEST_F(WholeSongCommandsTest, TransposeTakesTheTypedAmountOnEnterAndCtrlZTakesItBack) {
    start();
    ASSERT_TRUE(itemEnabled(command::kTranspose));
    addNote(0, 64);
    addNote(1, 64);
    typeIntoTheNextDialog("2", Qt::Key_Return);
    window->command(command::kTranspose);
    EXPECT_EQ(keyOf(0), 66) << "E became F sharp";
    EXPECT_EQ(noteOf(0).accidental(), 1);
    EXPECT_EQ(keyOf(1), 64) << "only the current track";
    EXPECT_EQ(itemText(command::kUndo), "&Undo Transpose\tCtrl+Z");

    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(keyOf(0), 64);
    EXPECT_FALSE(song().changed);

    typeIntoTheNextDialog("2", Qt::Key_Escape);
    window->command(command::kTranspose);
    EXPECT_EQ(keyOf(0), 64);
    EXPECT_EQ(itemText(command::kUndo), "&Undo\tCtrl+Z");
}

TEST_F(WholeSongCommandsTest, EntireSongReachesEveryTrackAndIsOneStep) {
    start();
    addNote(0, 60, 100);
    addNote(9, 40, 100);
    current().view().currentTrack = 3;
    window->setDialogRunner([](QDialog& dialog) {
        auto& transpose = static_cast<TransposeDialog&>(dialog);
        EXPECT_EQ(transpose.amounts().currentText(), "0");
        EXPECT_TRUE(transpose.currentTrack().isChecked());
        transpose.amounts().setCurrentText("-12");
        transpose.entireSong().click();
        transpose.includeDrums().click();
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kTranspose);
    EXPECT_EQ(keyOf(0), 48);
    EXPECT_EQ(keyOf(9), 28);

    window->setDialogRunner([](QDialog& dialog) {
        auto& volume = static_cast<VolumeDialog&>(dialog);
        EXPECT_EQ(volume.amounts().count(), 255);
        volume.amounts().setCurrentText("-30");
        volume.entireSong().click();
        EXPECT_FALSE(volume.currentTrack().isChecked());
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kVolume);
    EXPECT_EQ(noteOf(0).velocity(), 70);
    EXPECT_EQ(noteOf(9).velocity(), 70);
    EXPECT_EQ(itemText(command::kUndo), "&Undo Volume\tCtrl+Z");

    window->command(command::kUndo);
    EXPECT_EQ(noteOf(9).velocity(), 100);
    EXPECT_EQ(keyOf(9), 28);
    window->command(command::kUndo);
    EXPECT_EQ(keyOf(0), 60);
    EXPECT_EQ(keyOf(9), 40);
}

TEST_F(WholeSongCommandsTest, DoubleClickInSongSummaryMakesTheLineTrackCurrent) {
    start();
    song().track(0).add(std::make_unique<Note>(0, 80, 120, 60, 0, 0));
    song().track(4).add(std::make_unique<Note>(0, 80, 120, 60, 0, 0));
    song().track(4).add(std::make_unique<Note>(240, 80, 120, 60, 0, 0));
    QStringList lines;
    window->setDialogRunner([&](QDialog& dialog) {
        auto& summary = static_cast<SongSummaryDialog&>(dialog);
        summary.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&summary));
        EXPECT_EQ(summary.focusWidget(), &summary.tracks());
        EXPECT_EQ(summary.tracks().currentRow(), 0);
        EXPECT_EQ(summary.type().text(), "1");
        EXPECT_EQ(summary.length().text(), "0:01");
        for (int i = 0; i < summary.tracks().count(); ++i)
            lines << summary.tracks().item(i)->text();
        QListWidget& list = summary.tracks();
        const QRect line = list.visualItemRect(list.item(1));
        // A double click as the system delivers it: a click, then the second press.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, line.center());
        EXPECT_FALSE(summary.isVisible());
        return dialog.result();
    });
    window->command(command::kSongSummary);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(" 1\t    1\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(" 5\t    2\t")) << lines[1].toStdString();
    EXPECT_EQ(current().view().currentTrack, 4);
    EXPECT_EQ(window->toolbar().trackCombo()->currentIndex(), 4);

    window->setDialogRunner([](QDialog& dialog) {
        dialog.reject();
        return dialog.result();
    });
    window->command(command::kSongSummary);
    EXPECT_EQ(current().view().currentTrack, 4) << "closing picks no track";
}

}  // namespace
