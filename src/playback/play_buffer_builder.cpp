#include "playback/play_buffer_builder.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "model/beat_division.h"
#include "model/omb_data.h"
#include "platform/ui.h"
#include "platform/wait_cursor.h"
#include "playback/play_buffer.h"
#include "smf/song_encoder.h"
#include "smf/track_messages.h"

namespace {

constexpr int kElementsPerBusyStep = 201;

// The tracks' messages are merged as they come. Each track gives its own in order, so the
// merge only has to choose among the tracks' next messages, by their sort key and then the
// track: equal ones go lower tracks first.
std::uint64_t mergeKey(const TrackMessages::Message& message, int track) {
    return message.order | static_cast<std::uint64_t>(track);
}

// The tracks' keys come in no order a branch could predict, so the smallest is found by
// halving without branches.
std::uint64_t smallestKey(const std::array<std::uint64_t, OMBData::kTrackCount>& keys) {
    std::array<std::uint64_t, OMBData::kTrackCount> smaller = keys;
    for (std::size_t width = smaller.size() / 2; width > 0; width /= 2) {
        for (std::size_t i = 0; i < width; ++i) {
            smaller[i] = std::min(smaller[i], smaller[i + width]);
        }
    }
    return smaller[0];
}

void appendNote(ByteStream& out, const TrackMessages::Message& message, int track) {
    out.appendVlq(static_cast<std::uint32_t>(message.time - out.lastTime));
    out.lastTime = message.time;
    if (message.isNoteOn()) {
        const std::uint8_t noteOn[] = {message.status, static_cast<std::uint8_t>(track),
                                       message.key, message.velocity};
        out.appendBytes(noteOn);
    } else {
        out.appendMessage(message.status, message.key, message.velocity);
    }
}

}  // namespace

PlayBufferBuilder::PlayBufferBuilder(Ui& ui) : ui_(ui), busyCursor_(ui, kElementsPerBusyStep) {}

bool PlayBufferBuilder::BuildPlayBuffer(const OMBData& song, int soloTrack, int fromTick,
                                        int toTick, PlayBuffer& buffer) {
    const WaitCursor waitCursor(ui_);
    buffer.clear();
    bool built = true;
    try {
        // A build from the song's start reads every element anyway and checks the tracks'
        // order as it goes; one found out of order is built again, checked first.
        if (fromTick > 0 ||
            !merge(song, soloTrack, fromTick, toTick, TrackMessages::OrderCheck::AsRead, buffer)) {
            buffer.clear();
            merge(song, soloTrack, fromTick, toTick, TrackMessages::OrderCheck::First, buffer);
        }
    } catch (const std::bad_alloc&) {
        buffer.clear();
        ui_.errorBox("Memory Failure", "Error");
        built = false;
    }
    return built;
}

bool PlayBufferBuilder::merge(const OMBData& song, int soloTrack, int fromTick, int toTick,
                              TrackMessages::OrderCheck check, PlayBuffer& buffer) {
    const bool solo = soloTrack >= 0 && soloTrack < OMBData::kTrackCount;
    std::size_t elements = 0;
    std::array<std::unique_ptr<TrackMessages>, OMBData::kTrackCount> tracks;
    std::array<TrackMessages::Message, OMBData::kTrackCount> next{};
    // The next message's key of each track still giving messages; a spent track's is the
    // largest key, which no message has.
    constexpr std::uint64_t kSpent = UINT64_MAX;
    std::array<std::uint64_t, OMBData::kTrackCount> nextKey{};
    nextKey.fill(kSpent);
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        if (solo && t != soloTrack) {
            continue;
        }
        elements += song.track(t).count();
        tracks[t] =
            std::make_unique<TrackMessages>(song.track(t), song, fromTick, toTick, check);
        if (tracks[t]->next(next[t])) {
            nextKey[t] = mergeKey(next[t], t);
        }
    }

    const int ticksPerBar = barLengthTicks(song.timeSignature, song.timeDivision);
    int barEnd = INT_MIN;
    ByteStream& out = buffer.bytes;
    out.reserve(9 * elements + 236);
    // Deltas are taken between song ticks; the first counts from fromTick.
    out.lastTime = fromTick;
    const auto first = std::min_element(nextKey.begin(), nextKey.end());
    if (const int bank = leadingBank_ ? leadingBank_() : -1; bank >= 0 && *first != kSpent) {
        // Bank select on channel 1, so that the song plays the chosen bank.
        out.appendVlq(0);
        out.appendByte(0xB0);
        out.appendByte(0x00);
        out.appendByte(bank);
    }
    for (;;) {
        const std::uint64_t smallest = smallestKey(nextKey);
        if (smallest == kSpent) {
            break;
        }
        // A key ends in its track's number.
        const auto t = static_cast<int>(smallest & 0xFF);
        const TrackMessages::Message& message = next[t];
        if (!message.isNote()) {
            busyCursor_.countItem();
            SongEncoder::encodeEvent(
                out, static_cast<const Event&>(*song.track(t).at(message.index())), song, true);
        } else {
            if (message.isNoteOn()) {
                busyCursor_.countItem();
            }
            // Only the first note message of a bar goes into the index: the bar is worked
            // out once the tick passes the end of the last one.
            if (const int tick = message.time - fromTick; tick >= barEnd) {
                const int bar = ticksPerBar > 0 ? tick / ticksPerBar + 1 : 1;
                buffer.addNoteMessage(bar, {tick, static_cast<int>(out.size())});
                barEnd = ticksPerBar > 0 ? static_cast<int>(std::min<std::int64_t>(
                                               std::int64_t{bar} * ticksPerBar, INT_MAX))
                                         : INT_MAX;
            }
            appendNote(out, message, t);
        }
        nextKey[t] = tracks[t]->next(next[t]) ? mergeKey(next[t], t) : kSpent;
    }
    return std::none_of(tracks.begin(), tracks.end(), [](const auto& track) {
        return track && track->foundOutOfOrder();
    });
}
