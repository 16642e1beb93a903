#pragma once

// The progress of a long piece of work on the window thread, as the user follows it: a
// dialog with a bar and a Cancel button in the window, nothing on the command line. The
// dialog closes when this object is destroyed.
class Progress {
public:
    virtual ~Progress() = default;
    // Shows that fraction (0 to 1) of the work is done and lets the window answer the user
    // meanwhile. False once the user has cancelled; the work then stops.
    virtual bool step(double fraction) = 0;
};
