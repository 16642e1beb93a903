#include <QTest>

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

}  // namespace
