#pragma once

// The timing values that exist once for the whole program and are shared by every open song:
// the tempo a load sets and playback uses, and the velocity of entered notes. A song's time
// signature is its own (OMBData::timeSignature).
struct SongTiming {
    int defaultTempo = 120;    // quarter notes per minute
    int defaultVelocity = 80;  // velocity of notes entered with the mouse
};
