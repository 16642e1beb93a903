#pragma once

// The controls the play commands set: the transport buttons, the top-level menus, the
// accelerators, the main window's minimised state and the option items the play reads. The
// main window implements it; tests record it. Window thread only.
class TransportControls {
public:
    virtual ~TransportControls() = default;

    // One of the six transport buttons (command ids 1800..1805).
    virtual void setButtonEnabled(int commandId, bool enabled) = 0;
    // Greys or enables the top-level menus; enabling leaves grey what is not usable.
    virtual void setTopMenusEnabled(bool enabled) = 0;
    // The accelerators are off while a song plays or is paused.
    virtual void setAcceleratorsEnabled(bool enabled) = 0;
    // Minimize on Play: the main window goes down for the play and comes back after it.
    virtual void minimize() = 0;
    virtual void restore() = 0;
    // The check of an option item (Animate, Minimize On Play).
    virtual bool isChecked(int commandId) const = 0;
};
