#include "model/cut_copy_paste.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "model/omb_data.h"

namespace {

class CutCopyPasteTest : public testing::Test {
protected:
    CutCopyPasteTest() {
        for (int i = 0; i < 4; ++i) {
            track().add(std::make_unique<Note>(120 * i, 80, 60, 50 + 10 * i, 0, 0));
        }
        track().add(std::make_unique<Event>(60, 0xB0, std::span<const std::uint8_t>{}, 7, 100, 0));
    }

    Track& track() { return song.track(2); }
    static std::vector<int> times(const Track& elements) {
        std::vector<int> result;
        for (int i = 0; i < elements.count(); ++i) {
            result.push_back(elements.at(i)->time());
        }
        return result;
    }
    bool copy(ElementSelection selection, bool cut) {
        return copySelection(song, 2, selection, cut, buffer);
    }

    SongTiming timing;
    OMBData song{timing};
    Track buffer{-1};
    // Notes at positions 50 and 60 only.
    const std::function<bool(const Note&)> upperNotes = [](const Note& note) {
        return note.position() <= 60;
    };
};

TEST_F(CutCopyPasteTest, CopyTakesEveryEventAndTheAcceptedNotesAndLeavesTheTrack) {
    const auto all = [](const Note&) { return true; };
    EXPECT_FALSE(copy({.fromTick = 361, .throughTick = 0, .takesNote = all}, true))
        << "nothing at or after the start";
    EXPECT_TRUE(copy({.fromTick = 0, .throughTick = 0, .takesNote = upperNotes}, false));
    EXPECT_EQ(times(buffer), (std::vector<int>{0, 60, 120}));
    EXPECT_TRUE(buffer.at(1)->isEvent());
    EXPECT_EQ(track().count(), 5);
    EXPECT_FALSE(song.changed);
    copy({.fromTick = 300, .throughTick = 0, .takesNote = all}, false);
    EXPECT_EQ(times(buffer), (std::vector<int>{0, 60, 120, 360})) << "copies accumulate";
}

TEST_F(CutCopyPasteTest, CutTakesFromTheFirstElementAtOrAfterTheStartThroughTheEnd) {
    const auto notPosition60 = [](const Note& note) { return note.position() != 60; };
    EXPECT_TRUE(copy({.fromTick = 1, .throughTick = 240, .takesNote = notPosition60}, true));
    EXPECT_EQ(times(buffer), (std::vector<int>{60, 240}));
    EXPECT_EQ(times(track()), (std::vector<int>{0, 120, 360}));
    EXPECT_TRUE(song.changed);
}

TEST_F(CutCopyPasteTest, PasteAddsShiftedCopiesAndKeepsTheBuffer) {
    pasteElements(song, 2, buffer, 480);
    EXPECT_EQ(track().count(), 5);
    EXPECT_FALSE(song.changed) << "an empty buffer changes nothing";

    copy({.fromTick = 0, .throughTick = 0, .takesNote = upperNotes}, false);
    pasteElements(song, 5, buffer, 1000);
    EXPECT_EQ(times(song.track(5)), (std::vector<int>{1000, 1060, 1120}));
    EXPECT_EQ(times(buffer), (std::vector<int>{0, 60, 120}));
    EXPECT_TRUE(song.changed);
    pasteElements(song, 5, buffer, 0);
    EXPECT_EQ(song.track(5).count(), 6) << "the same buffer pastes again";

    buffer.add(std::make_unique<Note>(INT_MAX - 10, 80, 60, 60, 0, 0));
    pasteElements(song, 6, buffer, 100);
    EXPECT_EQ(song.track(6).at(3)->time(), INT_MAX) << "pasted times stop at the last tick";
}

}  // namespace
