#pragma once

#include <QRect>
#include <QSize>

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

    // Where the main window starts on a screen whose free area is available: the stored place,
    // moved and then cut only as far as it must be to lie on that area (the screen may have
    // got smaller since); without one, at the area's top left and at least as wide as
    // wanted, so the whole menu bar and toolbar show, within the area.
    WindowPlacement startPlace(QSize wanted, QRect available) const;
    // Whether the settings file gave the main window's place: false on a first start.
    bool placeStored() const { return placeStored_; }
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
    bool placeStored_ = false;
    bool maximizeControl_ = false;
    bool maximizeStaff_ = true;
};
