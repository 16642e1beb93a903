#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TimeSignature;

// Times as the user reads and types them: "bar:offset", the bar counted from 0 and the offset
// in ticks from the start of that bar. A bar is beatsPerBar quarter notes of `division` ticks
// (the beat unit does not enter: a bar of 6/8 is 6 quarter notes long).
//
// Pages, play ranges and the bar index lay bars out by the time signature instead (see
// barLengthTicks), so under a beat unit other than 4 a "bar" of the text is not a bar of the
// page. Both rules stay: texts typed and shown keep their meaning whatever the signature,
// and the page shows the bars the signature makes.

// "0:<time>" when the bar length is 0.
std::string formatBeatDivision(std::uint32_t time, int beatsPerBar, int division);

// What a text names: a time, or the message that says why it names none.
struct BeatDivisionTime {
    std::int32_t time = 0;
    const char* error = nullptr;  // nullptr when the text names a time
};

// The offset may run past the bar: "0:960" is tick 960.
BeatDivisionTime parseBeatDivision(std::string_view text, int beatsPerBar, int division);

// The exact length of a bar under the time signature: beatsPerBar beats of a 1/beatUnit
// note, beatsPerBar x division / (beatUnit / 4) ticks. 0 without a time base (a division,
// beats per bar or beat unit that is not positive).
double exactBarTicks(const TimeSignature& signature, int division);
// The same, the fraction dropped and saturated to the int range.
int barLengthTicks(const TimeSignature& signature, int division);
