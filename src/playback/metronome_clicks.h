#pragma once

#include <cstdint>
#include <vector>

#include "model/time_signature.h"

class OMBData;

// Where a metronome clicks in a song and when: on every beat of the meter in force, the first
// beat of each bar accented, in clock time from an origin tick on. The meter is the song's
// signature from its start, then each time-signature event's from its own time; an event starts
// a new bar. A compound meter (6/8, 9/8, 12/8) beats dotted quarters unless its eighths are
// asked for. Times follow the tempo events of the tracks that play, after the origin; the tempo
// at the origin is the one a play starts with there. A count-in is whole bars of the meter in
// force at the origin, ending at the origin, at its tempo. A plain value, built once per play
// or take; the song may change afterwards without effect on it.
class MetronomeClicks {
public:
    struct Click {
        int tick;
        bool accent;
    };

    // soloTrack is the only track (0-15) whose tempo events count, or -1 for all of them.
    // Without followTempo the tempo at the origin holds throughout, as a recording counts it.
    // songTempo is the song-wide tempo in bpm, in force before any tempo event.
    MetronomeClicks(const OMBData& song, int soloTrack, bool eighthsInCompound, bool followTempo,
                    int songTempo, int originTick, int countInBars);

    // The first click at or after tick: a count-in click for a tick before the origin (from
    // countInStart() on), a metronome click from the origin on.
    Click next(int tick) const;
    // The tick the count-in starts at: the origin less its bars; the origin without one.
    int countInStart() const { return countInStart_; }
    int originTick() const { return originTick_; }
    // The time of tick after the origin's time, in microseconds; negative before the origin.
    std::int64_t offsetUs(int tick) const;

private:
    struct Meter {
        int tick;
        TimeSignature signature;
    };
    struct Tempo {
        int tick;
        double usPerTick;
        // The time of tick after the origin's.
        double offsetUs;
    };

    int beatTicks(const TimeSignature& signature) const;
    int beatsPerBar(const TimeSignature& signature) const;
    bool compound(const TimeSignature& signature) const;
    const Meter& meterAt(int tick) const;

    int division_;
    bool eighthsInCompound_;
    int originTick_;
    int countInStart_;
    std::vector<Meter> meters_;
    std::vector<Tempo> tempos_;
};
