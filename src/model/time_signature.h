#pragma once

// A song's time signature as its bars are drawn and counted: beatsPerBar beats of a
// 1/beatUnit note. Both stay at 1 or more (beatUnit a power of two): bar lengths divide by them.
struct TimeSignature {
    int beatsPerBar = 4;  // numerator
    int beatUnit = 4;     // denominator as a note value (1, 2, 4, 8, ...)

    bool operator==(const TimeSignature&) const = default;
};
