#include "smf/track_messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "model/omb_data.h"

namespace {

using Message = TrackMessages::Message;

// What a message is, for comparing: time, status, key and velocity, and the element's index.
using Seen = std::tuple<int, int, int, int, std::uint32_t>;

Seen seen(const Message& message) {
    return {message.time(), message.status, message.key, message.velocity, message.sequence};
}

// The order by its definition: every message of the elements in range, in the order of a
// stable sort by (time, position, accidental) of note-on, note-off, note-on, ... in track order.
std::vector<Seen> byDefinition(const OMBData& song, const Track& track, int fromTick,
                               std::int64_t toTick) {
    struct Entry {
        int time;
        int position;
        int accidental;
        Seen seen;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < track.count(); ++i) {
        const Element& element = *track.at(i);
        if (element.time() < fromTick || element.time() >= toTick) {
            continue;
        }
        const auto sequence = static_cast<std::uint32_t>(2 * i);
        if (element.isEvent()) {
            // The tracks' events are controllers, whose message is whole without the event.
            const auto& event = static_cast<const Event&>(element);
            entries.push_back({element.time(),
                               -1,
                               0,
                               {element.time(), event.status(), event.data1(), event.data2(),
                                sequence}});
            continue;
        }
        const auto& note = static_cast<const Note&>(element);
        const int key = song.keyOf(note.position(), note.accidental());
        const int channel = note.channel();
        const int end = std::max(note.start(), note.start() + note.duration());
        entries.push_back({note.start(),
                           note.position(),
                           note.accidental(),
                           {note.start(), 0x90 | channel, key, note.velocity(), sequence}});
        entries.push_back({end,
                           note.position(),
                           note.accidental(),
                           {end, 0x80 | channel, key, note.velocity(), sequence + 1}});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.time, a.position, a.accidental) <
               std::tie(b.time, b.position, b.accidental);
    });
    std::vector<Seen> order;
    for (const Entry& entry : entries) {
        order.push_back(entry.seen);
    }
    return order;
}

std::vector<Seen> given(TrackMessages&& messages) {
    std::vector<Seen> order;
    for (auto batch = messages.nextBatch(); !batch.empty(); batch = messages.nextBatch()) {
        for (const Message& message : batch) {
            order.push_back(seen(message));
        }
    }
    return order;
}

constexpr std::int64_t kWholeTrack = std::int64_t{INT_MAX} + 1;

// What a reader that checks the order as it reads gets: the messages, or nothing when the
// track turned out to be out of order.
std::optional<std::vector<Seen>> givenCheckedAsRead(const Track& track, const OMBData& song,
                                                    int fromTick = INT_MIN,
                                                    std::int64_t toTick = kWholeTrack) {
    TrackMessages messages(track, song, fromTick, toTick, TrackMessages::OrderCheck::AsRead);
    std::vector<Seen> order = given(std::move(messages));
    if (messages.foundOutOfOrder()) {
        return std::nullopt;
    }
    return order;
}

// A track of chords, repeated and overlapping notes of one pitch, notes of no length and
// controllers, crowded onto few ticks so that ties are everywhere. A few lie before tick 0,
// where no edit puts them, since the order must hold for any time.
void fillAtRandom(OMBData& song, Track& track, std::mt19937& random) {
    std::uniform_int_distribution<int> tick(-4, 40);
    std::uniform_int_distribution<int> key(58, 64);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> velocity(2, 127);
    std::uniform_int_distribution<int> kind(0, 5);
    for (int i = 0; i < 60; ++i) {
        if (kind(random) == 0) {
            track.add(std::make_unique<Event>(tick(random), 0xB0, std::span<const std::uint8_t>{},
                                              7, velocity(random), 0));
            continue;
        }
        const StaffPitch pitch = song.spellKey(key(random));
        track.add(std::make_unique<Note>(tick(random) * 4, velocity(random), length(random) * 2,
                                         pitch.position, pitch.accidental,
                                         static_cast<std::uint8_t>(i % 3)));
    }
}

// Also for a track out of order, as an edit in the middle of its work leaves one: an element
// moved without being moved in the track.
TEST(TrackMessagesTest, GivesEveryMessageInTheOrderOfAStableSortOfTheTrack) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        SongTiming timing;
        OMBData song(timing);
        Track& track = song.track(0);
        fillAtRandom(song, track, random);
        EXPECT_EQ(given(TrackMessages(track, song)),
                  byDefinition(song, track, INT_MIN, kWholeTrack));
        EXPECT_EQ(given(TrackMessages(track, song, 40, 120)), byDefinition(song, track, 40, 120));
        EXPECT_EQ(givenCheckedAsRead(track, song), byDefinition(song, track, INT_MIN, kWholeTrack));
        EXPECT_EQ(givenCheckedAsRead(track, song, -8, 30), byDefinition(song, track, -8, 30));
        track.at(3)->setTime(track.at(3)->time() + 50);
        EXPECT_EQ(given(TrackMessages(track, song)),
                  byDefinition(song, track, INT_MIN, kWholeTrack))
            << "out of order";
        // Checked as read, the disorder is found wherever it lies, even past the range's end.
        EXPECT_EQ(givenCheckedAsRead(track, song), std::nullopt);
        EXPECT_EQ(givenCheckedAsRead(track, song, -8, 30), std::nullopt);
        // The moved element may lie past the range's end with the rest of the range after it.
        EXPECT_EQ(given(TrackMessages(track, song, -8, 30)), byDefinition(song, track, -8, 30))
            << "out of order";
    }
}

// A long track is read a batch at a time, its note-offs waiting across batches: notes that
// outlast many batches, and nested ones whose note-offs come in the reverse of their starts.
TEST(TrackMessagesTest, KeepsTheOrderAcrossBatchesOfALongTrack) {
    constexpr int kNotes = 3 * TrackMessages::kBatchElements + 17;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> step(0, 2);
        std::uniform_int_distribution<int> length(0, 40);
        std::uniform_int_distribution<int> key(40, 80);
        std::uniform_int_distribution<int> kind(0, 9);
        SongTiming timing;
        OMBData song(timing);
        Track& track = song.track(0);
        int tick = 0;
        for (int i = 0; i < kNotes; ++i) {
            tick += step(random) * 4;
            if (kind(random) == 0) {
                track.add(std::make_unique<Event>(tick, 0xB0, std::span<const std::uint8_t>{}, 7,
                                                  64, 0));
                continue;
            }
            // Now and then a note that lasts past the song's end; the rest in a pattern of
            // the seed: short ones, or nested ones that start in order and end in reverse.
            const int duration = kind(random) == 1 ? 100000
                                 : seed % 2 == 0   ? length(random) * 4
                                                   : (kNotes - i) * 16;
            const StaffPitch pitch = song.spellKey(key(random));
            track.add(std::make_unique<Note>(tick, 100, duration, pitch.position, pitch.accidental,
                                             0));
        }
        EXPECT_EQ(given(TrackMessages(track, song)),
                  byDefinition(song, track, INT_MIN, kWholeTrack));
        EXPECT_EQ(givenCheckedAsRead(track, song), byDefinition(song, track, INT_MIN, kWholeTrack));
        EXPECT_EQ(given(TrackMessages(track, song, tick / 3, tick / 2)),
                  byDefinition(song, track, tick / 3, tick / 2));
        // Checked as read, whole batches lie before the range or after it and give nothing,
        // while note-offs of the range still wait.
        EXPECT_EQ(givenCheckedAsRead(track, song, tick / 3, tick / 2),
                  byDefinition(song, track, tick / 3, tick / 2));
    }
}

TEST(TrackMessagesTest, KeepsElementsAtTheLastTickAndClampsWhatAFileCannotHold) {
    SongTiming timing;
    OMBData song(timing);
    Track& track = song.track(0);
    const StaffPitch pitch = song.spellKey(60);
    track.add(std::make_unique<Note>(100, 0, -50, pitch.position, pitch.accidental, 0));
    track.add(std::make_unique<Note>(INT_MAX - 1, 200, 10, pitch.position, pitch.accidental, 17));
    track.add(
        std::make_unique<Event>(INT_MAX, 0xB0, std::span<const std::uint8_t>{}, 7, 200, 0));
    EXPECT_EQ(given(TrackMessages(track, song)), (std::vector<Seen>{
                                                     {100, 0x90, 60, 1, 0},
                                                     {100, 0x80, 60, 1, 1},
                                                     {INT_MAX - 1, 0x91, 60, 127, 2},
                                                     {INT_MAX, 0xB0, 7, 127, 4},
                                                     {INT_MAX, 0x81, 60, 127, 3},
                                                 }));
}

}  // namespace
