#pragma once

#include <string>

class OMBData;

// How long the song plays, as "minutes:seconds" ("1:30"). Time before the first tempo event is
// not counted; a song without tempo events plays at the song-wide tempo throughout.
std::string songLengthText(const OMBData& song);
