#pragma once

#include <string>

// The name of the natural key at a staff position with its octave (key 60 is "C5"), then "b"
// for a flat accidental or "#" for a sharp: how the note detail names a note's pitch.
std::string noteName(int position, int accidental);
