#pragma once

#include <array>
#include <string>

#include "model/omb_data.h"
#include "platform/busy_cursor.h"
#include "smf/byte_stream.h"
#include "smf/track_messages.h"

class Ui;

// Encodes a song track by track into the bytes of MIDI file track chunks (without the chunk
// header). Every element becomes a delta time and a complete message: no running status.
// Notes are split into a note-on at their start and a note-off at their end, with the note's
// velocity; at one tick a note's note-off comes before the next note-on of the same pitch.
class SongEncoder {
public:
    using Streams = std::array<ByteStream, OMBData::kTrackCount>;

    // track0Name names track 0 when it has no name of its own (empty: it stays unnamed).
    SongEncoder(OMBData& song, std::string track0Name, Ui& ui);

    // Fills a stream for track 0 and for every non-empty track; the others stay empty.
    // A song that holds no tempo, time signature or key signature anywhere gets one at tick 0
    // of track 0 from its values, and track 0 its name when it has none; they are added to the
    // song, so they travel with it from then on.
    Streams encode();

    // Encodes one event. In the play format only the tempo of the meta events is written:
    // the others write nothing, not even their delta.
    static void encodeEvent(ByteStream& out, const Event& event, const OMBData& song,
                            bool playFormat);

private:
    void encodeTrack(int track, ByteStream& out);
    // False when the track turned out to be out of order as it was read.
    bool encodeMessages(const Track& track, TrackMessages::OrderCheck check, ByteStream& out);
    void addTrackZeroDefaults();

    OMBData& song_;
    std::string track0Name_;
    Ui& ui_;
    BusyCursor busyCursor_;
};
