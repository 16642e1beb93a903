#pragma once

#include <string>

class OMBData;

// How long the song plays, as "minutes:seconds" ("1:30"), seconds truncated. Until its first
// tempo event, or throughout when it has none, the song plays at the song-wide tempo.
std::string songLengthText(const OMBData& song);
