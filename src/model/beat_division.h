#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class Ui;

// Times as the user reads and types them: "bar:offset", the bar counted from 0 and the offset
// in ticks from the start of that bar. A bar is beatsPerBar quarter notes of `division` ticks
// (the beat unit does not enter: a bar of 6/8 is 6 quarter notes long).

// "0:<time>" when the bar length is 0.
std::string formatBeatDivision(std::uint32_t time, int beatsPerBar, int division);

// The time the text names. A text that names no valid time shows why in the error box and
// gives defaultTime back, so callers pass the current value and a bad entry changes nothing.
// The offset may run past the bar: "0:960" is tick 960.
std::int32_t parseBeatDivision(std::int32_t defaultTime, std::string_view text, int beatsPerBar,
                               int division, Ui& ui);
