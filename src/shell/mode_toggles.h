#pragma once

#include "staff/staff_view_state.h"

class Application;
class DocumentWindows;
class MainMenu;
class StaffWindow;
class Toolbar;

// The toolbar's state buttons and what they toggle: staff or piano roll, Display Solo, Play
// Solo, Animate, Minimize On Play (each with its notice), and the six note-value buttons.
// Window thread only.
class ModeToggles {
public:
    // Sets the buttons and option checks from the settings: the eighth note pressed.
    ModeToggles(Application& app, MainMenu& menu, Toolbar& toolbar,
                const DocumentWindows& documents);

    // Brings the buttons in line with window, the current one (Display and Play Solo up
    // without one).
    void showWindow(StaffWindow* window);

    void toggleStaffOrPiano();
    void toggleDisplaySolo();
    void togglePlaySolo();
    void toggleAnimate();
    void toggleMinimizeOnPlay();
    // A note value, rest or symbol (0..14) for the current window.
    void selectNoteValue(int value);
    // The last pressed note-value button, 3 (eighth) when none is.
    int currentNoteButton() const;

private:
    // The current window's flag, or the button alone without one.
    void toggleSolo(int buttonId, bool StaffViewState::*flag, const char* onMessage,
                    const char* offMessage);
    void setState(int buttonId, int state);
    void showNoteValue(int value);

    Application& app_;
    MainMenu& menu_;
    Toolbar& toolbar_;
    const DocumentWindows& documents_;
};
