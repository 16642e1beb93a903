#pragma once

// What a staff window shows and what its clicks do, apart from the page. It lives with the
// window and is not saved with the song.
struct StaffViewState {
    // The client height the piano roll needs to show every key row at once.
    static constexpr int kPianoRollHeight = 593;
    // The height of one key row: the lower half moves by whole rows so that the row lines
    // stay between the keys.
    static constexpr int kKeyRowHeight = 9;
    static constexpr int kEighthNote = 3;

    // 0-15: the track that editing acts on.
    int currentTrack = 0;
    // 0-14: what a left click enters or applies, in glyph codes (0 whole ... 5 thirty-second,
    // 6-11 the rests in the same order, 12 sharp, 13 flat, 14 natural).
    int noteValue = kEighthNote;
    bool pianoRoll = false;
    // Only the current track is drawn.
    bool displaySolo = false;
    // Only the current track is played.
    bool playSolo = false;
    // Which half of a piano roll taller than the window is shown.
    bool rollLowerHalf = false;
    // How far up the lower half is moved, in pixels: a whole number of key rows, 0 when the
    // window is tall enough.
    int pianoRollOffset = 0;

    // Sets the offset for a client area clientHeight (>= 0) pixels high.
    void fitToHeight(int clientHeight);
    // Whether the window shows its vertical scroll bar for the halves: only in the piano
    // roll, not while playing, and only when the roll does not fit.
    bool showsScrollBar(int clientHeight, bool playActive) const;
    // The upward shift of everything the piano roll draws.
    int rollShift() const { return rollLowerHalf ? pianoRollOffset : 0; }
};
