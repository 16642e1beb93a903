#pragma once

#include "app/settings.h"

class Application;
class StaffWindow;

// The settings the main window reads at start and writes back at exit: the values every song
// shares, the output device, the window's place and the maximised flags of both windows.
// Window thread only.
class SessionSettings {
public:
    // The window class name, under which the main window's place is stored.
    static constexpr const char* kPlacementName = "Control";

    // Reads the start-up settings (an invalid value gets its message) into app's record.
    explicit SessionSettings(Application& app);

    // Where the main window starts.
    const WindowPlacement& place() const { return place_; }
    bool maximizeControl() const { return maximizeControl_; }
    void setControlMaximized(bool maximized) { maximizeControl_ = maximized; }
    void setStaffMaximized(bool maximized) { maximizeStaff_ = maximized; }

    // Writes the settings kept at exit: those of the current song (when there is one), the
    // option checks and the flags.
    void write(StaffWindow* current, bool animate, bool hide);
    void savePlace(int top, int left, int width, int height);

private:
    Application& app_;
    WindowPlacement place_{};
    bool maximizeControl_ = false;
    bool maximizeStaff_ = true;
};
