#include "playback/play_buffer_builder.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <new>
#include <optional>
#include <span>
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

// The next message's key of each track still giving messages, a spent track's the largest key,
// which no message has. The keys come in no order a branch could predict, so the smallest is
// found without branches; and since a message taken changes one track's key, the smallest of
// each four tracks is kept, and the next smallest of all takes six comparisons, not fifteen.
// Each new key is compared last, with the smallest of the keys it did not change, so that the
// next choice waits for two comparisons after it, not for six.
class NextKeys {
public:
    static constexpr std::uint64_t kSpent = UINT64_MAX;

    NextKeys() {
        keys_.fill(kSpent);
        fours_.fill(kSpent);
    }
    // Sets the track's key and gives the smallest of all.
    std::uint64_t set(int track, std::uint64_t key) {
        keys_[track] = key;
        const int four = track / 4;
        const std::uint64_t smallestOfFour =
            std::min(key, smallestOfOthers(&keys_[four * 4], track % 4));
        fours_[four] = smallestOfFour;
        return std::min(smallestOfFour, smallestOfOthers(fours_.data(), four));
    }

private:
    static_assert(OMBData::kTrackCount == 16);
    // The smallest of the four keys but the one at index.
    static std::uint64_t smallestOfOthers(const std::uint64_t* keys, int index) {
        return std::min(std::min(keys[(index + 1) % 4], keys[(index + 2) % 4]),
                        keys[(index + 3) % 4]);
    }

    std::array<std::uint64_t, OMBData::kTrackCount> keys_;
    std::array<std::uint64_t, 4> fours_;
};

// The most bytes a note's message, or an event's that the message holds whole, takes.
constexpr std::size_t kMostCompleteBytes = ByteStream::kLongestVlq + 4;

// Writes that message, delta ticks after the one before, at `at`, and returns the end of it.
std::uint8_t* writeComplete(std::uint8_t* at, int delta, const TrackMessages::Message& message,
                            int track) {
    at = ByteStream::writeVlq(at, static_cast<std::uint32_t>(delta));
    // A note-on carries its track between status and key; a note-off or an event does not.
    // Which one comes is a toss-up: the bytes are chosen without a branch, and four are
    // written, the first three or four of status, track, key and velocity, the rest repeating
    // the velocity.
    const std::uint32_t on = message.isNoteOn() ? 1 : 0;
    const std::uint32_t data =
        message.key | std::uint32_t{message.velocity} << 8 | std::uint32_t{message.velocity} << 16;
    const std::uint32_t bytes =
        message.status | (data << (8 * on) | (static_cast<std::uint32_t>(track) & (0 - on))) << 8;
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(bytes >> (8 * i));
    }
    return at + 3 + on;
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
    std::array<std::optional<TrackMessages>, OMBData::kTrackCount> tracks;
    // Each track's batch of messages, from the next to take.
    std::array<const TrackMessages::Message*, OMBData::kTrackCount> next{};
    std::array<const TrackMessages::Message*, OMBData::kTrackCount> batchEnd{};
    // The key of the track's next message, reading its next batch once one is taken.
    const auto keyOfNext = [&tracks, &next, &batchEnd](int t) {
        if (next[t] == batchEnd[t]) {
            const std::span<const TrackMessages::Message> batch = tracks[t]->nextBatch();
            if (batch.empty()) {
                return NextKeys::kSpent;
            }
            next[t] = batch.data();
            batchEnd[t] = batch.data() + batch.size();
        }
        return mergeKey(*next[t], t);
    };
    NextKeys nextKeys;
    std::uint64_t smallest = NextKeys::kSpent;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        if (solo && t != soloTrack) {
            continue;
        }
        elements += song.track(t).count();
        tracks[t].emplace(song.track(t), song, fromTick, toTick, check);
        smallest = nextKeys.set(t, keyOfNext(t));
    }

    const int ticksPerBar = barLengthTicks(song.timeSignature, song.timeDivision);
    int barEnd = INT_MIN;
    ByteStream& out = buffer.bytes;
    out.reserve(9 * elements + 236);
    // Deltas are taken between song ticks; the first counts from fromTick.
    out.lastTime = fromTick;
    if (const int bank = leadingBank_ ? leadingBank_() : -1;
        bank >= 0 && smallest != NextKeys::kSpent) {
        // Bank select on channel 1, so that the song plays the chosen bank.
        out.appendVlq(0);
        out.appendByte(0xB0);
        out.appendByte(0x00);
        out.appendByte(bank);
    }
    struct Picked {
        TrackMessages::Message message;
        int track;
    };
    std::array<Picked, 256> picked;
    while (smallest != NextKeys::kSpent) {
        std::size_t count = 0;
        for (; count < picked.size() && smallest != NextKeys::kSpent; ++count) {
            // A key ends in its track's number.
            const auto t = static_cast<int>(smallest & 0xFF);
            picked[count] = {*next[t]++, t};
            smallest = nextKeys.set(t, keyOfNext(t));
        }
        // The messages are written straight into the room made for them; an event the
        // message does not hold whole is encoded into the stream itself.
        int lastTime = out.lastTime;
        std::uint8_t* at = out.room(count * kMostCompleteBytes);
        for (std::size_t i = 0; i < count; ++i) {
            const TrackMessages::Message& message = picked[i].message;
            const int t = picked[i].track;
            if (!message.isComplete()) {
                out.wroteUpTo(at);
                out.lastTime = lastTime;
                busyCursor_.countItem();
                SongEncoder::encodeEvent(
                    out, static_cast<const Event&>(*song.track(t).at(message.index())), song, true);
                lastTime = out.lastTime;
                at = out.room((count - i) * kMostCompleteBytes);
                continue;
            }
            busyCursor_.countItems(message.isNoteOff() ? 0 : 1);
            // Only the first note message of a bar goes into the index: the bar is worked out
            // once the tick passes the end of the last one.
            if (const int tick = message.time() - fromTick; tick >= barEnd && message.isNote()) {
                out.wroteUpTo(at);
                const int bar = ticksPerBar > 0 ? tick / ticksPerBar + 1 : 1;
                buffer.addNoteMessage(bar, {tick, static_cast<int>(out.size())});
                barEnd = ticksPerBar > 0 ? static_cast<int>(std::min<std::int64_t>(
                                               std::int64_t{bar} * ticksPerBar, INT_MAX))
                                         : INT_MAX;
            }
            at = writeComplete(at, message.time() - lastTime, message, t);
            lastTime = message.time();
        }
        out.wroteUpTo(at);
        out.lastTime = lastTime;
    }
    return std::none_of(tracks.begin(), tracks.end(), [](const auto& track) {
        return track && track->foundOutOfOrder();
    });
}
