#include "shell/control_bar.h"

#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "qt/qt_ui.h"

namespace {

TEST(ControlBarTest, AMessageLastsUntilTheFirstRepaintAfterTwoSeconds) {
    ManualClock clock;
    SongTiming timing;
    const bool noSoundFont = false;
    ControlBar bar(nullptr, clock, timing, noSoundFont);
    bar.resize(600, ControlBar::kHeight);
    bar.showMessage("first");
    bar.showMessage("second");
    EXPECT_EQ(bar.message(), "second");
    clock.advance(2000);
    bar.grab();
    EXPECT_EQ(bar.message(), "second");
    clock.advance(1);
    bar.grab();  // this paint still shows it
    EXPECT_EQ(bar.message(), "");
}

using ControlBarNoticeTest = MainWindowTest;

TEST_F(ControlBarNoticeTest, TheWindowsUiPutsNoticesOnTheControlBar) {
    QtUi qtUi;
    Application qtApp(dir / "tolvar32.ini", qtUi, clock, ports);
    MainWindow qtWindow(qtApp);
    qtWindow.openStartupSong({});
    qtWindow.command(command::kDisplaySolo);
    EXPECT_EQ(qtWindow.controlBar().message(), "Display Solo Selected");
    qtWindow.command(command::kPlaySolo);
    EXPECT_EQ(qtWindow.controlBar().message(), "Play Solo Selected");
}

}  // namespace
