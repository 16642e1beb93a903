#pragma once

#include <cstdint>
#include <functional>
#include <span>
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
    // Takes the bytes of a track's chunk; false to stop the encoding.
    using ChunkSink = std::function<bool(int track, std::span<const std::uint8_t> bytes)>;

    // track0Name names track 0 when it has no name of its own (empty: it stays unnamed).
    SongEncoder(OMBData& song, std::string track0Name, Ui& ui);

    // Encodes track 0 and every non-empty track, in order, handing each track's bytes to the
    // sink as soon as they are made, in one buffer that the next track reuses: a save writes a
    // track while the song stays in the cache, and holds no copy of the whole file. False when
    // the sink stopped it.
    // A song that holds no tempo, time signature or key signature anywhere gets one at tick 0
    // of track 0 from its values, and track 0 its name when it has none; they are added to the
    // song, so they travel with it from then on.
    bool encode(const ChunkSink& sink);

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
