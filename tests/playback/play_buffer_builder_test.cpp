#include "playback/play_buffer_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "playback/play_buffer.h"
#include "support/scripted_ui.h"
#include "test_song.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class PlayBufferBuilderTest : public ::testing::Test {
protected:
    Bytes build(int soloTrack, int fromTick, int toTick) {
        EXPECT_TRUE(builder_.BuildPlayBuffer(song_, soloTrack, fromTick, toTick, buffer_));
        return {buffer_.bytes.bytes().begin(), buffer_.bytes.bytes().end()};
    }
    Bytes buildAll() { return build(-1, 0, PlayBufferBuilder::kSongEnd); }

    SongTiming timing_;
    OMBData song_{timing_};
    ScriptedUi ui_;
    PlayBufferBuilder builder_{ui_};
    PlayBuffer buffer_;
};

TEST_F(PlayBufferBuilderTest, TracksMergeIntoPlayFormatByTimeThenPitchThenTrack) {
    const std::uint8_t name[] = {'R', 'e', 'e', 'l'};
    addTempo(song_, 0, 0, 0);  // a tempo of 0 plays at the song-wide tempo
    addEvent(song_, 0, 0, Event::kStatusMeta, Event::kMetaTimeSignature, 3, 4);
    addEvent(song_, 0, 0, Event::kStatusMeta, Event::kMetaTrackName, 0, 4, name);
    addEvent(song_, 0, 120, Event::kStatusMeta, Event::kMetaKeySignature, 2);
    addNote(song_, 2, 0, 60, 120, 100, 0);
    addEvent(song_, 2, 300, 0xB0, 7, 100);
    addNote(song_, 5, 0, 60, 60, 90, 1);
    addNote(song_, 5, 0, 72, 120, 100, 1);
    EXPECT_EQ(buildAll(), (Bytes{
                              0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 120
                              0x00, 0x91, 5,    72,   100,  // the higher note first, with its track
                              0x00, 0x90, 2,    60,   100,  // equal keys: the lower track first
                              0x00, 0x91, 5,    60,   90,   //
                              60,   0x81, 60,   90,         // note-offs keep the note's velocity
                              60,   0x81, 72,   100,        //
                              0x00, 0x80, 60,   100,        // the key signature wrote nothing
                              0x81, 0x34, 0xB0, 7,    100,
                          }));
    EXPECT_EQ(ui_.cursors, (std::vector{CursorShape::Wait, CursorShape::Arrow}));
}

// Each note-on and each event, played or not, counts toward the next busy frame; a note-off
// does not.
TEST_F(PlayBufferBuilderTest, BusyCursorStepsEveryTwoHundredAndOneNoteOnsAndEvents) {
    addEvent(song_, 0, 0, Event::kStatusMeta, Event::kMetaTrackName, 0, 0);
    for (int i = 0; i < 300; ++i) {
        addNote(song_, i % 3, i * 10, 60 + i % 5, 15);
    }
    for (int i = 0; i < 101; ++i) {
        addEvent(song_, 4, i * 30, 0xB4, 7, i);
    }
    buildAll();
    EXPECT_EQ(ui_.cursors, (std::vector{CursorShape::Wait, CursorShape::Busy1,
                                        CursorShape::Busy2, CursorShape::Arrow}));
}

TEST_F(PlayBufferBuilderTest, BarIndexCarriesEmptyBarsAndGrowsPastTwoThousandBars) {
    addEvent(song_, 0, 0, 0xC0, 5);
    addNote(song_, 0, 0, 60, 10);
    addEvent(song_, 0, 965, 0xB0, 7, 90);  // a bar starts at its first note, not at an event
    addNote(song_, 0, 970, 60, 10);
    addNote(song_, 0, 2499 * 480, 60, 10);
    buildAll();
    using Start = std::pair<int, int>;
    const auto start = [&](int bar) {
        const PlayBuffer::BarStart found = buffer_.barStart(bar);
        return Start{found.tick, found.offset};
    };
    EXPECT_EQ(buffer_.lastBar(), 2500);
    EXPECT_EQ(start(1), Start(0, 0));
    EXPECT_EQ(start(2), Start(0, 0));
    EXPECT_EQ(start(3), Start(970, 17));
    EXPECT_EQ(start(2499), Start(970, 17));
    EXPECT_EQ(start(2500), Start(2499 * 480, 26));
}

TEST_F(PlayBufferBuilderTest, RangeTakesWhatStartsInItAndCountsFromItsStart) {
    addEvent(song_, 0, 100, 0xC0, 5);
    addNote(song_, 0, 470, 62, 20);
    addNote(song_, 0, 500, 60, 600);
    addEvent(song_, 0, 959, 0xB0, 7, 100);
    addNote(song_, 0, 960, 64, 10);
    EXPECT_EQ(build(-1, 480, 960), (Bytes{
                                       20, 0x90, 0, 60, 100,       //
                                       0x83, 0x4B, 0xB0, 7, 100,   //
                                       0x81, 0x0D, 0x80, 60, 100,  // ends after the range
                                   }));
    EXPECT_EQ(buffer_.lastBar(), 2);
    EXPECT_EQ(buffer_.barStart(2).tick, 620);
}

TEST_F(PlayBufferBuilderTest, SoloTakesItsTrackAloneAndNothingBuildsEmpty) {
    EXPECT_EQ(buildAll(), Bytes{});
    addNote(song_, 1, 0, 60, 10);
    addNote(song_, 3, 0, 64, 10);
    EXPECT_EQ(build(3, 0, PlayBufferBuilder::kSongEnd),
              (Bytes{0, 0x90, 3, 64, 100, 10, 0x80, 64, 100}));
    EXPECT_EQ(build(2, 0, PlayBufferBuilder::kSongEnd), Bytes{});
    EXPECT_EQ(buffer_.lastBar(), 0);

    // A leading bank select starts the buffer only when something plays.
    builder_.setLeadingBankSelect([] { return 3; });
    EXPECT_EQ(build(2, 0, PlayBufferBuilder::kSongEnd), Bytes{});
    EXPECT_EQ(build(1, 0, PlayBufferBuilder::kSongEnd),
              (Bytes{0, 0xB0, 0, 3, 0, 0x90, 1, 60, 100, 10, 0x80, 60, 100}));
}

// An event written from its element, larger than all the room made for the notes, and then
// notes enough to need room of their own: each keeps its bytes where it belongs.
TEST_F(PlayBufferBuilderTest, NotesAfterALargeSystemExclusiveKeepTheirBytes) {
    const std::vector<std::uint8_t> data(3000, 0x55);
    addEvent(song_, 0, 0, Event::kStatusSystemExclusive, 0, 0, 0, data);
    const Bytes systemExclusive = buildAll();
    ASSERT_GT(systemExclusive.size(), data.size());
    Bytes expected = systemExclusive;
    for (int tick = 1; tick <= 400; ++tick) {
        addNote(song_, 1, tick, 60, 1);
        // A note's note-off goes before the next one's note-on at the same tick.
        const Bytes messages =
            tick == 1 ? Bytes{1, 0x90, 1, 60, 100} : Bytes{1, 0x80, 60, 100, 0, 0x90, 1, 60, 100};
        expected.insert(expected.end(), messages.begin(), messages.end());
    }
    expected.insert(expected.end(), {1, 0x80, 60, 100});
    EXPECT_EQ(buildAll(), expected);
}

// The merge by its definition: every message of every track in range, stably sorted by time,
// position, accidental and track from the tracks' own order (a note's note-on, then its
// note-off), written in the play format.
Bytes mergedByDefinition(const OMBData& song, int fromTick, int toTick) {
    struct Entry {
        int time, position, accidental, track;
        Bytes message;
    };
    std::vector<Entry> entries;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            if (element.time() < fromTick || element.time() >= toTick) {
                continue;
            }
            if (element.isEvent()) {
                const auto& event = static_cast<const Event&>(element);
                entries.push_back({event.time(), -1, 0, t,
                                   {static_cast<std::uint8_t>(event.status()),
                                    static_cast<std::uint8_t>(event.data1()),
                                    static_cast<std::uint8_t>(event.data2())}});
                continue;
            }
            const auto& note = static_cast<const Note&>(element);
            const auto key = static_cast<std::uint8_t>(song.keyOf(note.position(), note.accidental()));
            const auto velocity = static_cast<std::uint8_t>(note.velocity());
            entries.push_back({note.start(), note.position(), note.accidental(), t,
                               {static_cast<std::uint8_t>(0x90 | note.channel()),
                                static_cast<std::uint8_t>(t), key, velocity}});
            entries.push_back({note.start() + note.duration(), note.position(), note.accidental(),
                               t, {static_cast<std::uint8_t>(0x80 | note.channel()), key, velocity}});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.time, a.position, a.accidental, a.track) <
               std::tie(b.time, b.position, b.accidental, b.track);
    });
    Bytes bytes;
    int last = fromTick;
    for (const Entry& entry : entries) {
        // Every delta here is below 128: one byte.
        bytes.push_back(static_cast<std::uint8_t>(entry.time - last));
        last = entry.time;
        bytes.insert(bytes.end(), entry.message.begin(), entry.message.end());
    }
    return bytes;
}

TEST_F(PlayBufferBuilderTest, MergeOfCrowdedTracksIsAStableSortByTimePitchAndTrack) {
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE(seed);
        song_.reset();
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> track(0, 15);
        std::uniform_int_distribution<int> tick(0, 25);
        std::uniform_int_distribution<int> key(58, 62);
        std::uniform_int_distribution<int> length(0, 8);
        std::uniform_int_distribution<int> kind(0, 6);
        for (int i = 0; i < 200; ++i) {
            if (kind(random) == 0) {
                addEvent(song_, track(random), tick(random) * 4, 0xB0, 7, i % 128);
            } else {
                addNote(song_, track(random), tick(random) * 4, key(random), length(random) * 2,
                        2 + i % 100, static_cast<std::uint8_t>(i % 4));
            }
        }
        EXPECT_EQ(buildAll(), mergedByDefinition(song_, 0, PlayBufferBuilder::kSongEnd));
        EXPECT_EQ(build(-1, 20, 60), mergedByDefinition(song_, 20, 60));

        // An element moved without being moved in its track, as an edit in the middle of its
        // work leaves one: the track is out of order, and the merge still the same sort.
        Track& moved = song_.track(seed % 16);
        ASSERT_GE(moved.count(), 3);
        moved.at(1)->setTime(moved.at(1)->time() + 13);
        EXPECT_EQ(buildAll(), mergedByDefinition(song_, 0, PlayBufferBuilder::kSongEnd));
        EXPECT_EQ(build(-1, 20, 60), mergedByDefinition(song_, 20, 60));
    }
}

}  // namespace
