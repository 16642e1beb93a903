#include <gtest/gtest.h>

#include <memory>

#include "model/omb_data.h"

namespace {

void addNote(OMBData& song, int track, int start) {
    song.track(track).add(std::make_unique<Note>(start, 80, 120, 85, 0, 0));
}

TEST(Song, ResetClearsTheSongButNotTheSharedTiming) {
    SongTiming timing;
    OMBData song(timing);
    OMBData other(timing);
    addNote(song, 3, 0);
    song.program[3] = 12;
    song.timeDivision = 480;
    song.format = 0;
    song.trackCount = 2;
    song.keySignature[0] = -1;
    song.changed = true;
    song.setTitle("Title");
    song.setAuthor("Author");
    timing.defaultTempo = 90;
    song.timeSignature = {3, 8};

    song.reset();
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        EXPECT_TRUE(song.track(t).empty());
        EXPECT_EQ(song.program[t], OMBData::kNoProgram);
    }
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.timeDivision, OMBData::kDefaultDivision);
    EXPECT_EQ(song.trackCount, OMBData::kTrackCount);
    EXPECT_EQ(song.keySignature, KeySignature{});
    EXPECT_FALSE(song.changed);
    EXPECT_EQ(song.title(), "");
    EXPECT_EQ(song.author(), "");
    EXPECT_EQ(song.timeSignature, TimeSignature{}) << "each song has its own signature";
    EXPECT_EQ(timing.defaultTempo, 90);
    EXPECT_EQ(&other.timing(), &song.timing()) << "every song reads the same tempo";
}

TEST(Song, FirstNoteTimeIsTheEarliestFirstNote) {
    SongTiming timing;
    OMBData song(timing);
    EXPECT_EQ(song.firstNoteTime(), 0) << "a song without notes";
    song.track(0).add(std::make_unique<Event>(0, 0xC0, std::span<const std::uint8_t>{}, 1, 0, 0));
    addNote(song, 5, 480);
    EXPECT_EQ(song.firstNoteTime(), 480);
    addNote(song, 9, 960);
    addNote(song, 2, 240);
    EXPECT_EQ(song.firstNoteTime(), 240);
}

TEST(Song, ApplyProgramsPutsEachProgramAtTheStartOfItsTrack) {
    SongTiming timing;
    OMBData song(timing);
    addNote(song, 0, 0);
    addNote(song, 0, 480);
    addNote(song, 1, 0);
    song.program[0] = 19;
    song.program[1] = 20;
    song.program[2] = 21;
    song.program[3] = -1;
    song.applyPrograms();

    const auto& first = static_cast<const Event&>(*song.track(0).at(0));
    EXPECT_EQ(song.track(0).count(), 3);
    EXPECT_EQ(first.status(), 0xC0);
    EXPECT_EQ(first.data1(), 19);
    EXPECT_EQ(song.track(1).count(), 1) << "every element at 0 and no program change: unchanged";
    ASSERT_EQ(song.track(2).count(), 1);
    EXPECT_EQ(static_cast<const Event&>(*song.track(2).at(0)).status(), 0xC2);
    EXPECT_EQ(song.track(3).count(), 0);
}

}  // namespace
