#include "playback/play_buffer_builder.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "model/beat_division.h"
#include "model/omb_data.h"
#include "platform/ui.h"
#include "platform/wait_cursor.h"
#include "playback/play_buffer.h"
#include "smf/song_encoder.h"

namespace {

constexpr int kElementsPerBusyStep = 201;

// One message of the merge: a note's note-on or note-off, or an event. Its sort key packs the
// element's time, position and accidental, then the track, so that one comparison orders by
// time, pitch and track; copies of one track that tie are kept in their order in the track
// by their sequence number: twice the element's index, plus one for a note-off. A note's
// copy carries the bytes it needs, so writing the merged notes reads no element again.
struct Copy {
    std::uint64_t key;
    std::uint32_t sequence;
    bool isNote;
    std::uint8_t channel;
    std::uint8_t midiKey;
    std::uint8_t velocity;
};

std::uint64_t sortKey(int time, int position, int accidental, int track) {
    const auto biased = [](int value, int bits) {
        const int bias = 1 << (bits - 1);
        return static_cast<std::uint64_t>(std::clamp(value, -bias, bias - 1) + bias);
    };
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(time)) << 32 |
           biased(position, 16) << 16 | biased(accidental, 8) << 8 |
           static_cast<std::uint64_t>(track);
}

bool sortsBefore(const Copy& a, const Copy& b) {
    return a.key != b.key ? a.key < b.key : a.sequence < b.sequence;
}

int timeOf(const Copy& copy) {
    return static_cast<int>(copy.key >> 32);
}

int noteEnd(const Note& note) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{note.start()} + note.duration(),
                                                   PlayBufferBuilder::kSongEnd));
}

void appendNote(ByteStream& out, const Copy& copy) {
    const int time = timeOf(copy);
    const bool noteOn = copy.sequence % 2 == 0;
    out.appendVlq(static_cast<std::uint32_t>(time - out.lastTime));
    out.lastTime = time;
    out.appendByte((noteOn ? 0x90 : 0x80) | copy.channel);
    if (noteOn) {
        out.appendByte(static_cast<int>(copy.key & 0xFF));
    }
    out.appendByte(copy.midiKey);
    out.appendByte(copy.velocity);
}

}  // namespace

PlayBufferBuilder::PlayBufferBuilder(Ui& ui) : ui_(ui), busyCursor_(ui, kElementsPerBusyStep) {}

bool PlayBufferBuilder::BuildPlayBuffer(const OMBData& song, int soloTrack, int fromTick,
                                        int toTick, PlayBuffer& buffer) {
    const WaitCursor waitCursor(ui_);
    buffer.clear();
    bool built = true;
    try {
        merge(song, soloTrack, fromTick, toTick, buffer);
    } catch (const std::bad_alloc&) {
        buffer.clear();
        ui_.errorBox("Memory Failure", "Error");
        built = false;
    }
    return built;
}

void PlayBufferBuilder::merge(const OMBData& song, int soloTrack, int fromTick, int toTick,
                              PlayBuffer& buffer) {
    const bool solo = soloTrack >= 0 && soloTrack < OMBData::kTrackCount;
    std::size_t elements = 0;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        elements += !solo || t == soloTrack ? song.track(t).count() : 0;
    }

    std::vector<Copy> copies;
    copies.reserve(2 * elements);
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        if (solo && t != soloTrack) {
            continue;
        }
        const Track& track = song.track(t);
        for (int i = 0; i < track.count(); ++i) {
            busyCursor_.countItem();
            const Element* element = track.at(i);
            if (element->time() < fromTick || element->time() >= toTick) {
                continue;
            }
            const auto sequence = static_cast<std::uint32_t>(2 * i);
            if (element->isEvent()) {
                copies.push_back({sortKey(element->time(), element->secondKey(), 0, t), sequence,
                                  false, 0, 0, 0});
                continue;
            }
            const auto& note = static_cast<const Note&>(*element);
            const auto channel = static_cast<std::uint8_t>(note.channel() & 0x0F);
            const auto key =
                static_cast<std::uint8_t>(song.keyOf(note.position(), note.accidental()));
            const auto velocity = static_cast<std::uint8_t>(note.velocity());
            copies.push_back({sortKey(note.start(), note.position(), note.accidental(), t),
                              sequence, true, channel, key, velocity});
            copies.push_back({sortKey(noteEnd(note), note.position(), note.accidental(), t),
                              sequence + 1, true, channel, key, velocity});
        }
    }
    std::sort(copies.begin(), copies.end(), sortsBefore);

    const int ticksPerBar = barLengthTicks(song.timeSignature, song.timeDivision);
    ByteStream& out = buffer.bytes;
    out.reserve(9 * elements + 236);
    // Deltas are taken between song ticks; the first counts from fromTick.
    out.lastTime = fromTick;
    if (const int bank = leadingBank_ ? leadingBank_() : -1; bank >= 0 && !copies.empty()) {
        // Bank select on channel 1, so that the song plays the chosen bank.
        out.appendVlq(0);
        out.appendByte(0xB0);
        out.appendByte(0x00);
        out.appendByte(bank);
    }
    for (const Copy& copy : copies) {
        if (!copy.isNote) {
            const Track& track = song.track(static_cast<int>(copy.key & 0xFF));
            const auto& event = static_cast<const Event&>(*track.at(copy.sequence / 2));
            SongEncoder::encodeEvent(out, event, song, true);
            continue;
        }
        const int tick = timeOf(copy) - fromTick;
        const int bar = ticksPerBar > 0 ? tick / ticksPerBar + 1 : 1;
        buffer.addNoteMessage(bar, {tick, static_cast<int>(out.size())});
        appendNote(out, copy);
    }
}
