#pragma once

class Note;

// What a play shows on the staff window whose song plays; the staff window implements it.
// The Player calls it on the window thread, from inside its own operations: an implementation
// draws at once and never calls back into the Player.
class PlayView {
public:
    virtual ~PlayView() = default;

    // The music reached tick (a song tick). When tick lies beyond the bars shown, or before
    // them as a loop starts its range again, the page turns to the bar that holds it and is
    // painted again, status bar included. Called with Animate on, before the first note of
    // each new tick is drawn, and at the start of each loop pass.
    virtual void turnPageTo(int tick) = 0;

    // note of track (0-15) is sounding: draw it highlighted, in the current track's colour,
    // in staff or piano-roll form as the window shows, where the page has it (nothing when
    // TickToX gives 0). Called with Animate on, once for each note-on played, rests included.
    virtual void drawHighlight(const Note& note, int track) = 0;

    // A tempo event changed the song-wide tempo while playing: show the new one.
    virtual void tempoChanged() = 0;

    // The play starts with the tempo in force at its first bar: refresh the status bar.
    virtual void refreshStatusBar() = 0;
};
