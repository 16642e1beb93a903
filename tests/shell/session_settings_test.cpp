#include "shell/session_settings.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/application.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

class SessionSettingsTest : public ::testing::Test {
protected:
    // The place the main window takes on a screen whose free area is screen, for a menu bar
    // and toolbar wantedWidth wide.
    WindowPlacement placeOn(QRect screen, int wantedWidth = 1000) {
        Application app(dir.path() / "tolvar32.ini", ui, clock, ports);
        return SessionSettings(app).startPlace(QSize(wantedWidth, 0), screen);
    }
    void store(int top, int left, int width, int height) {
        Application app(dir.path() / "tolvar32.ini", ui, clock, ports);
        app.settings.savePlacement(SessionSettings::kPlacementName, top, left, width, height);
    }

    ScratchDir dir;
    ScriptedUi ui;
    ManualClock clock;
    RecordingMidiPorts ports{clock, {}};
};

TEST_F(SessionSettingsTest, AFirstStartIsWideEnoughForTheMenusAndToolbarWithinTheScreen) {
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}), (WindowPlacement{0, 0, 1000, 760}));
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}, 700), (WindowPlacement{0, 0, 800, 760}));
    // A panel above the free area; a small screen cuts the window to what it has.
    EXPECT_EQ(placeOn({0, 30, 1600, 970}), (WindowPlacement{30, 0, 1000, 760}));
    EXPECT_EQ(placeOn({0, 0, 1024, 600}), (WindowPlacement{0, 0, 1000, 600}));
    EXPECT_EQ(placeOn({0, 0, 640, 480}), (WindowPlacement{0, 0, 640, 480}));
    // A stored size that would fall back counts as none.
    store(10, 10, 520, 300);
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}), (WindowPlacement{0, 0, 1000, 760}));
    store(10, 10, 900, 300);
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}), (WindowPlacement{0, 0, 1000, 760}));
}

TEST_F(SessionSettingsTest, AStoredPlaceStaysAndComesBackOnAScreenThatGotSmaller) {
    store(100, 120, 900, 700);
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}), (WindowPlacement{100, 120, 900, 700}));
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}, 1200), (WindowPlacement{100, 120, 900, 700}))
        << "the user's width is kept";
    // Moved back first, cut only where the screen is smaller than the window.
    EXPECT_EQ(placeOn({0, 0, 960, 760}), (WindowPlacement{60, 60, 900, 700}));
    EXPECT_EQ(placeOn({0, 0, 800, 600}), (WindowPlacement{0, 0, 800, 600}));
    store(1500, 1900, 900, 700);
    EXPECT_EQ(placeOn({0, 0, 1600, 1000}), (WindowPlacement{300, 700, 900, 700}));
    // A second screen to the right of the first: its free area starts there.
    EXPECT_EQ(placeOn({1600, 0, 1920, 1080}), (WindowPlacement{380, 1900, 900, 700}));
}

}  // namespace
