#include <QAction>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>

#include <fstream>
#include <iterator>
#include <string>

#include "main_window_fixture.h"
#include "notation/loop_dialog.h"
#include "notation/staff_window.h"
#include "notation/status_bar.h"

namespace {

// Playing through the window: commands, button presses and posted steps reach the transport.
// The play states themselves are the Transport's own tests.
class PlayCommandsTest : public MainWindowTest {
protected:
    // A song of two bars: a note on each beat of track 0.
    void startOnASong() {
        start();
        for (int beat = 0; beat < 8; ++beat)
            track0().add(std::make_unique<Note>(beat * 120, 80, 100, 60, 0, 0));
    }
    int menusEnabled() const {
        int count = 0;
        for (int position = 0; position < MainMenu::kTopLevelCount; ++position)
            count += window->menu().isTopLevelEnabled(position) ? 1 : 0;
        return count;
    }
    int noteOnsSent() const { return static_cast<int>(keysPlayed().size()); }
    using MainWindowTest::press;
    void press(int id) { QTest::mouseClick(&button(id), Qt::LeftButton); }

    const int menusWhenStopped = MainMenu::kTopLevelCount - 1;  // AWE Control
};

TEST_F(PlayCommandsTest, PlayAllGreysTheMenusAndRunsToTheEndOnPostedSteps) {
    startOnASong();
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
    window->command(command::kPlayAll);
    EXPECT_TRUE(window->playActive());
    EXPECT_EQ(menusEnabled(), 0);
    EXPECT_TRUE(window->menu().action(command::kSave)->shortcut().isEmpty());

    run(5000);  // eight beats at 120 a minute, and the last note's end
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(noteOnsSent(), 8);
    EXPECT_EQ(transportButtons(), (std::vector<bool>{true, true, false, true, true, false}));
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
    EXPECT_EQ(window->menu().action(command::kSave)->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(PlayCommandsTest, PausePlayAndStopButtonsPauseResumeAndStop) {
    startOnASong();
    window->command(command::kPlayAll);
    run(300);
    press(command::kPause);
    EXPECT_TRUE(window->playActive());
    EXPECT_EQ(transportButtons(), (std::vector<bool>{true, true, false, true, false, true}));
    const int sentWhenPaused = noteOnsSent();
    run(1000);
    EXPECT_EQ(noteOnsSent(), sentWhenPaused) << "nothing plays while paused";
    press(command::kPlay);
    run(100);
    EXPECT_GT(noteOnsSent(), sentWhenPaused);
    press(command::kStop);
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
}

TEST_F(PlayCommandsTest, MinimizeOnPlayBringsAMaximisedWindowBackMaximised) {
    startOnASong();
    window->showMaximized();
    window->command(command::kMinimizeOnPlay);
    window->command(command::kPlayAll);
    EXPECT_TRUE(window->isMinimized());
    press(command::kStop);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(PlayCommandsTest, PracticeMuteAndSoloWorkFromTheKeyboardWhilePlayingAndShowInTheCombo) {
    startOnASong();
    QComboBox& combo = *window->toolbar().trackCombo();
    const QString track1 = combo.itemText(0);
    const auto practiceMenu = [this] {
        return qobject_cast<QMenu*>(window->menu().action(command::kMuteTrack)->parent());
    };
    press(Qt::CTRL | Qt::Key_M);
    EXPECT_EQ(combo.itemText(0), QString(track1).replace(0, 1, "1 (muted)"));
    EXPECT_TRUE(window->menu().isChecked(command::kMuteTrack));
    EXPECT_EQ(setting(settings_keys::kMutedTracks), "1");

    window->command(command::kPlayAll);
    run(300);
    EXPECT_EQ(noteOnsSent(), 0);
    // Every other menu is grey while playing; Practice is what a player reaches for then.
    EXPECT_TRUE(practiceMenu()->menuAction()->isEnabled());
    press(Qt::CTRL | Qt::Key_M);
    EXPECT_EQ(combo.itemText(0), track1);
    EXPECT_FALSE(window->menu().isChecked(command::kMuteTrack));
    run(5000);
    EXPECT_EQ(noteOnsSent(), 7);
    EXPECT_FALSE(song().changed);

    // Solo of an empty track silences the song; another track's solo shows in the combo too.
    combo.setCurrentIndex(2);
    window->command(command::kTrackCombo);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_M);
    EXPECT_TRUE(combo.itemText(2).startsWith("3 (solo) - "));
    EXPECT_TRUE(window->menu().isChecked(command::kSoloTrack));
    window->command(command::kPlayAll);
    run(5000);
    EXPECT_EQ(noteOnsSent(), 7);
    window->command(command::kClearMuteAndSolo);
    EXPECT_TRUE(combo.itemText(2).startsWith("3 - "));
    EXPECT_FALSE(window->menu().isChecked(command::kSoloTrack));
    EXPECT_EQ(setting(settings_keys::kSoloedTracks), "");

    // Export Audio leaves the muted track out: silence ends the file as soon as the song does,
    // where the notes' release would ring on.
    const auto exported = [this](const char* name) {
        ui.answerFile((dir / name).string());
        window->command(command::kExportAudio);
        return std::filesystem::file_size(dir / name);
    };
    const auto withTrack1 = exported("all.wav");
    combo.setCurrentIndex(0);
    window->command(command::kTrackCombo);
    window->command(command::kMuteTrack);
    EXPECT_LT(exported("muted.wav"), withTrack1);
}

TEST_F(PlayCommandsTest, TheMuteKeptFromTheLastSessionHoldsFromTheFirstPlay) {
    Profile(dir / "tolvar32.ini").write("Practice", "Muted Tracks", "1");
    startOnASong();
    EXPECT_TRUE(window->menu().isChecked(command::kMuteTrack));
    window->command(command::kPlayAll);
    run(5000);
    EXPECT_EQ(noteOnsSent(), 0);
}

TEST_F(PlayCommandsTest, SpeedIsTypedIntoItsDialogShownBesideTheTempoAndNormalSpeedEndsIt) {
    startOnASong();
    const StatusBar& status = current().statusBar();
    EXPECT_EQ(status.speedField(), "");
    typeIntoTheNextDialog("75");
    window->command(command::kSpeed);
    EXPECT_EQ(status.speedField(), "Speed 75%");
    EXPECT_EQ(status.tempoField(), "Tempo : 120");
    EXPECT_EQ(setting(settings_keys::kSpeed), "75");
    typeIntoTheNextDialog("150", Qt::Key_Escape);
    window->command(command::kSpeed);
    EXPECT_EQ(status.speedField(), "Speed 75%") << "Esc keeps the speed";

    // Playing, where Practice is the one menu left: beats 2/3 s apart.
    window->command(command::kPlayAll);
    run(1400);
    EXPECT_EQ(noteOnsSent(), 3);
    window->command(command::kNormalSpeed);
    EXPECT_EQ(status.speedField(), "");
    EXPECT_EQ(setting(settings_keys::kSpeed), "100");
    run(600);
    EXPECT_EQ(noteOnsSent(), 4) << "the fourth beat at once at full speed, the fifth not yet";
    run(5000);
    EXPECT_FALSE(song().changed);
}

TEST_F(PlayCommandsTest, LoopBarsTakesTheSelectedBarsAndCtrlLTurnsTheLoopOnAndOffWhilePlaying) {
    startOnASong();
    EXPECT_FALSE(window->menu().isChecked(command::kLoop));
    // A band drawn over the second bar.
    StaffWindow& staff = current();
    staff.editor().beginSelection();
    staff.editor().leftButtonDown(staff.page().TickToX(500), 60, 300, false, 3);
    staff.editor().mouseMove(staff.page().TickToX(900), 90);
    staff.editor().leftButtonUp(staff.page().TickToX(900), 90);
    int shownFirst = 0;
    int shownLast = 0;
    window->setDialogRunner([&](QDialog& dialog) {
        auto& loop = static_cast<LoopDialog&>(dialog);
        shownFirst = loop.firstBar().value();
        shownLast = loop.lastBar().value();
        dialog.accept();
        return QDialog::Accepted;
    });
    window->command(command::kLoopBars);
    EXPECT_EQ(shownFirst, 2);
    EXPECT_EQ(shownLast, 2);
    EXPECT_TRUE(window->menu().isChecked(command::kLoop));
    EXPECT_EQ(setting(settings_keys::kLoopFrom), "2");

    // Play plays the loop, not the page; with Animate the page comes back to the loop.
    ASSERT_TRUE(window->menu().isChecked(command::kAnimate));
    staff.page().setFirstBar(5);
    window->command(command::kPlay);
    run(5900);
    EXPECT_EQ(keysPlayed().size(), 12u) << "bar 2 three times";
    EXPECT_EQ(staff.page().firstBar(), 2);
    press(Qt::CTRL | Qt::Key_L);
    EXPECT_FALSE(window->menu().isChecked(command::kLoop));
    EXPECT_EQ(setting(settings_keys::kLoop), "No");
    run(3000);
    EXPECT_FALSE(window->playActive()) << "the pass played out and the play ended";
    EXPECT_EQ(keysPlayed().size(), 12u);
    EXPECT_FALSE(song().changed);
}

TEST_F(PlayCommandsTest, PracticeMetronomeItemsAreKeptTickedAndClickWhileExportLeavesThemOut) {
    Profile(dir / "tolvar32.ini").write("Practice", "Count-in Bars", "1");
    startOnASong();
    EXPECT_TRUE(window->menu().isChecked(command::kCountInOneBar)) << "kept from the last session";
    EXPECT_FALSE(window->menu().isChecked(command::kNoCountIn));
    const auto exported = [this](const char* name) {
        ui.answerFile((dir / name).string());
        window->command(command::kExportAudio);
        std::ifstream file(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string plain = exported("plain.wav");

    QAction& metronome = *window->menu().action(command::kMetronomeForPlay);
    EXPECT_EQ(metronome.text(), "Metronome for &Play");
    metronome.trigger();
    EXPECT_TRUE(window->menu().isChecked(command::kMetronomeForPlay));
    EXPECT_EQ(setting(settings_keys::kMetronomeForPlay), "Yes");
    EXPECT_EQ(ui.notices.back(), "Metronome for Play on");
    window->menu().action(command::kCountInTwoBars)->trigger();
    EXPECT_TRUE(window->menu().isChecked(command::kCountInTwoBars));
    EXPECT_FALSE(window->menu().isChecked(command::kCountInOneBar));
    EXPECT_EQ(setting(settings_keys::kCountInBars), "2");

    window->command(command::kPlayAll);
    run(10000);
    ASSERT_FALSE(window->playActive());
    int clicks = 0;
    int notes = 0;
    for (const auto& bytes : ports.sentBytes()) {
        clicks += bytes[0] == 0x99 ? 1 : 0;
        notes += bytes[0] == 0x90 && bytes[2] > 0 ? 1 : 0;
    }
    EXPECT_EQ(clicks, 8 + 8) << "two bars of count-in, then a click with each beat";
    EXPECT_EQ(notes, 8);
    EXPECT_FALSE(song().changed);
    EXPECT_EQ(exported("clicked.wav"), plain);
}

}  // namespace
