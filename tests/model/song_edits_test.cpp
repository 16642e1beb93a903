#include "model/song_edits.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <tuple>
#include <vector>

#include "model/omb_data.h"
#include "model/undo_step.h"

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

// (position, accidental, velocity) of each element of a track; events show as (-1, 0, 0).
using Looks = std::vector<std::tuple<int, int, int>>;

class NoteShiftTest : public SongEditsTest {
protected:
    // A note of the key, spelled as the song spells it.
    void addKey(int track, int start, int key, int velocity = 80, int channel = 0) {
        const StaffPitch pitch = song.spellKey(key);
        song.track(track).add(
            std::make_unique<Note>(start, velocity, 60, pitch.position, pitch.accidental, channel));
    }
    void addRest(int track, int start) {
        song.track(track).add(std::make_unique<Note>(start, Note::kRestVelocity, 60, 60, 0, 0));
    }
    Looks looks(int track) const {
        Looks result;
        for (int i = 0; i < song.track(track).count(); ++i) {
            const Element& element = *song.track(track).at(i);
            if (element.isNote()) {
                const auto& note = static_cast<const Note&>(element);
                result.emplace_back(note.position(), note.accidental(), note.velocity());
            } else {
                result.emplace_back(-1, 0, 0);
            }
        }
        return result;
    }
    int keyAt(int track, int index) const {
        const auto& note = static_cast<const Note&>(*song.track(track).at(index));
        return song.keyOf(note.position(), note.accidental());
    }
    int velocityAt(int track, int index) const {
        return static_cast<const Note&>(*song.track(track).at(index)).velocity();
    }
};

TEST_F(NoteShiftTest, TransposeSpellsTheNewKeyAndKeepsItOnTheKeyboard) {
    struct Case {
        int key;
        int semitones;
        int newKey;
        StaffPitch pitch;
    };
    const Case cases[] = {
        {64, 2, 66, {song.spellKey(65).position, 1}},  // E to F sharp in C major
        {60, -1, 59, {130, 0}},                        // middle C to B on the lower staff
        {126, 12, 127, song.spellKey(127)},            // past the top: kept at 127
        {3, -12, 0, song.spellKey(0)},                 // past the bottom: kept at 0
    };
    for (const Case& c : cases) {
        song.track(0).clear();
        addKey(0, 0, c.key);
        transposeNotes(song, 0, c.semitones, false);
        const auto& note = static_cast<const Note&>(*song.track(0).at(0));
        EXPECT_EQ(keyAt(0, 0), c.newKey) << c.key << " by " << c.semitones;
        EXPECT_EQ((StaffPitch{note.position(), note.accidental()}), c.pitch) << c.key;
    }
}

TEST_F(NoteShiftTest, RestsEventsAndUnchosenNotesStay) {
    addRest(2, 0);
    addEvent(2, 0);
    addKey(2, 120, 60, 80, kDrumChannel);
    addKey(3, 0, 60);
    const Looks before = looks(2);
    transposeNotes(song, 2, 5, false);
    changeVelocities(song, 2, 20);
    // Only the drum note took the volume; the rest stayed a silent rest at its place.
    Looks expected = before;
    std::get<2>(expected[2]) = 100;
    EXPECT_EQ(looks(2), expected);
    EXPECT_EQ(keyAt(3, 0), 60) << "another track than the current one";

    transposeNotes(song, kEveryTrack, 5, true);
    EXPECT_EQ(keyAt(2, 2), 65) << "drums move when included";
    EXPECT_EQ(keyAt(3, 0), 65);
}

// A note-on of velocity 0 is a note-off and velocity 1 marks a rest: a sounding note stays at 2
// or more, or the saved file would lose it.
TEST_F(NoteShiftTest, VolumeStaysInRangeAndNeverMakesARestOrANoteOff) {
    struct Case {
        int velocity;
        int amount;
        int result;
    };
    const Case cases[] = {{120, 20, 127}, {90, -127, 2}, {21, -20, 2},
                          {0, 1, 2},      {2, -1, 2},    {3, -1, 2}};
    for (const Case& c : cases) {
        song.track(0).clear();
        addKey(0, 0, 60, c.velocity);
        changeVelocities(song, 0, c.amount);
        EXPECT_EQ(velocityAt(0, 0), c.result) << c.velocity << " by " << c.amount;
    }
}

TEST_F(NoteShiftTest, NotesReorderedWithinTheirTickUndoAndRedoExactly) {
    // F and F sharp share a position; a semitone up, F sharp becomes G and sorts first.
    addKey(4, 0, 65);
    addKey(4, 0, 66);
    addEvent(4, 0);
    addKey(4, 240, 64);
    addKey(4, 240, 62, 80, kDrumChannel);
    addKey(5, 0, 70);
    const Looks before = looks(4);
    // The event sorts before both notes.
    const std::vector<const Element*> order = {song.track(4).at(1), song.track(4).at(2)};
    UndoStep step("Transpose", UndoStep::kNowhere);
    transposeNotes(song, kEveryTrack, 1, false, &step);
    const Looks after = looks(4);
    for (int i = 0; i + 1 < song.track(4).count(); ++i) {
        EXPECT_TRUE(song.track(4).at(i)->sortsAtOrBefore(*song.track(4).at(i + 1))) << i;
    }
    EXPECT_EQ(song.track(4).at(1), order[1]);
    EXPECT_EQ(keyAt(4, 1), 67);

    step.undo(song);
    EXPECT_EQ(looks(4), before);
    EXPECT_EQ(song.track(4).at(1), order[0]);
    EXPECT_EQ(keyAt(5, 0), 70);
    step.redo(song);
    EXPECT_EQ(looks(4), after);
    EXPECT_EQ(keyAt(5, 0), 71);
}

}  // namespace
