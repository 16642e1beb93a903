#pragma once

// The timing values that exist once for the whole program and are shared by every open song:
// loading any file resets them for all songs, and every Beat:Division text uses them.
struct SongTiming {
    int defaultTempo = 120;    // quarter notes per minute
    int beatsPerBar = 4;       // time-signature numerator
    int beatUnit = 4;          // time-signature denominator as a note value (2, 4, 8, ...)
    int defaultVelocity = 80;  // velocity of notes entered with the mouse
};
