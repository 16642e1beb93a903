#include "model/song_edits.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "model/omb_data.h"

namespace {

class SongEditsTest : public testing::Test {
protected:
    void addNote(int track, int start, int position = 60) {
        song.track(track).add(std::make_unique<Note>(start, 80, 60, position, 0, 0));
    }
    void addEvent(int track, int time) {
        song.track(track).add(
            std::make_unique<Event>(time, 0xC0, std::span<const std::uint8_t>{}, 5, 0, 0));
    }
    int timeAt(int track, int index) const { return song.track(track).at(index)->time(); }

    SongTiming timing;
    OMBData song{timing};
};

TEST_F(SongEditsTest, SetFirstNoteMovesEveryTrackByTheSameAmount) {
    addNote(0, 480);
    addNote(1, 600);
    addEvent(2, 900);
    setFirstNoteTime(song, 240);
    EXPECT_EQ(timeAt(0, 0), 240);
    EXPECT_EQ(timeAt(1, 0), 360);
    EXPECT_EQ(timeAt(2, 0), 660);
    EXPECT_TRUE(song.changed);
}

TEST_F(SongEditsTest, ElementsMovedBeforeTheStartLandAtZeroInSortOrder) {
    addEvent(1, 50);
    addNote(1, 100, -5);
    addNote(1, 600);
    setFirstNoteTime(song, 0);
    // Both land at 0, where a note above the staff sorts before an event.
    EXPECT_TRUE(song.track(1).at(0)->isNote());
    EXPECT_TRUE(song.track(1).at(1)->isEvent());
    EXPECT_EQ(timeAt(1, 1), 0);
    EXPECT_EQ(timeAt(1, 2), 500);
}

TEST_F(SongEditsTest, ElementsPushedPastTheLastTickStayThere) {
    addNote(0, 0);
    addEvent(0, INT_MAX - 5);
    setFirstNoteTime(song, 100);
    EXPECT_EQ(timeAt(0, 0), 100);
    EXPECT_EQ(timeAt(0, 1), INT_MAX);
}

TEST_F(SongEditsTest, DeleteTrackEmptiesItAndForgetsItsProgramOnly) {
    addNote(3, 0);
    addNote(4, 0);
    song.program[3] = 12;
    song.program[4] = 13;
    deleteTrack(song, 3);
    EXPECT_TRUE(song.track(3).empty());
    EXPECT_EQ(song.program[3], OMBData::kNoProgram);
    EXPECT_EQ(song.track(4).count(), 1);
    EXPECT_EQ(song.program[4], 13);
    EXPECT_TRUE(song.changed);
}

}  // namespace
