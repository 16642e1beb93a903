#pragma once

// Where the note editor draws the single notes it enters and erases, and asks for whole
// repaints. The staff window draws on its surface at once.
class NotationCanvas {
public:
    virtual ~NotationCanvas() = default;

    // A glyph with its accidental (when velocity > 1) and its dot (when dotted), in the
    // colour of track; glyph 15 erases.
    virtual void drawNote(int x, int y, int glyph, int accidental, int velocity, int track,
                          bool dotted) = 0;
    // A piano-roll bar; track -1 erases.
    virtual void drawRollNote(int x, int y, int duration, int accidental, int velocity,
                              int track) = 0;
    // The rubber band: drawn once it shows, drawn again it is gone.
    virtual void invertRectangle(int left, int top, int right, int bottom) = 0;
    virtual void redraw() = 0;
    virtual void refreshStatusBar() = 0;
    // The event list of the song, opened by a click in the event strip; returns when it
    // closes. Nothing where there is no window to show it.
    virtual void openEventList() {}
    // The details of the note at index of the current track, opened by a right click on it;
    // returns when they close.
    virtual void openNoteDetail(int /*index*/) {}
};
