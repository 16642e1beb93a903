#pragma once

#include <climits>
#include <functional>
#include <utility>

#include "platform/busy_cursor.h"
#include "smf/track_messages.h"

class OMBData;
class PlayBuffer;
class Ui;

// Builds the play buffer of a song: each note becomes a note-on at its start and a note-off at
// its end, every event other than the meta events the play format leaves out becomes its
// message, and all of them are merged in the tracks' own order: by time, then from high to
// low pitch, an event before the notes of keys 89 and below; equal ones lower tracks first,
// then in track order.
class PlayBufferBuilder {
public:
    // The toTick of a build of the whole song.
    static constexpr int kSongEnd = INT_MAX;

    explicit PlayBufferBuilder(Ui& ui);

    // Builds buffer from the notes and events of song whose time lies in [fromTick, toTick),
    // on every track, or on soloTrack alone when that is 0-15. A note's note-off goes in even
    // when the note ends at or after toTick. Bars are counted as the staff page counts them,
    // from the bar that holds fromTick. Shows the wait cursor meanwhile and steps the busy
    // cursor. When memory runs out the box "Memory Failure" (caption "Error") appears, the
    // buffer stays empty and the result is false.
    bool BuildPlayBuffer(const OMBData& song, int soloTrack, int fromTick, int toTick,
                         PlayBuffer& buffer);

    // Asked at every build: a bank (0-127) to select on channel 1 before anything else, or -1
    // for none.
    void setLeadingBankSelect(std::function<int()> bank) { leadingBank_ = std::move(bank); }

private:
    // False when a track checked as read turned out to be out of order.
    bool merge(const OMBData& song, int soloTrack, int fromTick, int toTick,
               TrackMessages::OrderCheck check, PlayBuffer& buffer);

    Ui& ui_;
    BusyCursor busyCursor_;
    std::function<int()> leadingBank_;
};
