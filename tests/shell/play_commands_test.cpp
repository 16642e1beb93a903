#include <QAction>
#include <QComboBox>
#include <QTest>

#include <fstream>
#include <iterator>
#include <string>

#include "main_window_fixture.h"

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
