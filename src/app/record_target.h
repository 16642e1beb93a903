#pragma once

#include "app/play_target.h"

class UndoHistory;

// The staff window a recording writes into: what a play reads and shows, and the track and
// undo history the take goes to. The staff window implements it. Window thread only; the
// window stays open until the recording stops.
class RecordTarget : public PlayTarget {
public:
    // The track the notes go to (0-15): the current track when the recording starts.
    virtual int currentTrack() const = 0;
    // The take becomes one step of this history.
    virtual UndoHistory& history() = 0;
};
