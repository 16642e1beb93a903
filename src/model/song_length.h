#pragma once

#include <string>

class OMBData;

// How long the song plays, in seconds. Until its first tempo event, or throughout when it has
// none, the song plays at the song-wide tempo.
double songLengthSeconds(const OMBData& song);
// The same as "minutes:seconds" ("1:30"), seconds truncated.
std::string songLengthText(const OMBData& song);
