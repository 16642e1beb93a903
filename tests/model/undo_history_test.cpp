#include "model/undo_history.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/key_signature_change.h"
#include "model/omb_data.h"
#include "model/program_carry.h"
#include "model/song_edits.h"
#include "model/track_splice.h"

namespace {

// A change that only counts how it was replayed and claims a size.
class CountingChange : public SongChange {
public:
    CountingChange(std::vector<int>& log, int id, std::size_t bytes)
        : log_(log), id_(id), bytes_(bytes) {}
    void undo(OMBData&) override { log_.push_back(-id_); }
    void redo(OMBData&) override { log_.push_back(id_); }
    std::size_t sizeInBytes() const override { return bytes_; }

private:
    std::vector<int>& log_;
    int id_;
    std::size_t bytes_;
};

class UndoHistoryTest : public testing::Test {
protected:
    void record(const char* name, int id = 1, std::size_t bytes = 16) {
        auto step = std::make_unique<UndoStep>(name, 0);
        step->add(std::make_unique<CountingChange>(log, id, bytes));
        history.record(std::move(step));
    }
    std::vector<int> times(int track) const {
        std::vector<int> result;
        for (int i = 0; i < song.track(track).count(); ++i) {
            result.push_back(song.track(track).at(i)->time());
        }
        return result;
    }
    std::vector<const Element*> elements(int track) const {
        std::vector<const Element*> result;
        for (int i = 0; i < song.track(track).count(); ++i) {
            result.push_back(song.track(track).at(i));
        }
        return result;
    }
    void addNote(int track, int start, int position) {
        song.track(track).add(std::make_unique<Note>(start, 80, 60, position, 0, 0));
    }

    SongTiming timing;
    OMBData song{timing};
    UndoHistory history{song};
    std::vector<int> log;
};

TEST_F(UndoHistoryTest, UndoAndRedoReplayTheStepsAndANewStepDropsTheRedoList) {
    record("Note Entry", 1);
    record("Paste", 2);
    EXPECT_EQ(history.undoName(), "Paste");
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undo()->name(), "Paste");
    EXPECT_EQ(history.undoName(), "Note Entry");
    EXPECT_EQ(history.redoName(), "Paste");
    history.undo();
    EXPECT_EQ(history.undo(), nullptr);
    history.redo();
    EXPECT_EQ(log, (std::vector<int>{-2, -1, 1}));

    record("Cut", 3);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.stepCount(), 2u);
    EXPECT_EQ(history.undoName(), "Cut");
}

TEST_F(UndoHistoryTest, TheChangedFlagIsClearExactlyInTheSavedState) {
    record("Note Entry");
    EXPECT_TRUE(song.changed);
    history.markSaved();
    EXPECT_FALSE(song.changed);
    record("Paste");
    EXPECT_TRUE(song.changed);
    history.undo();
    EXPECT_FALSE(song.changed);
    history.undo();
    EXPECT_TRUE(song.changed) << "undone past the save";
    history.redo();
    EXPECT_FALSE(song.changed) << "redone back to it";

    history.undo();
    record("Cut");
    EXPECT_TRUE(song.changed) << "the saved state went with the redo list it was in";
    history.undo();
    EXPECT_TRUE(song.changed);
}

TEST_F(UndoHistoryTest, KeepsAtMostAThousandStepsAnd256MegabytesDroppingTheOldest) {
    for (int i = 1; i <= 1001; ++i) {
        record("Note Entry", i);
    }
    EXPECT_EQ(history.stepCount(), UndoHistory::kMaxSteps);
    while (history.undo() != nullptr) {
    }
    EXPECT_EQ(log.back(), -2);
    EXPECT_TRUE(song.changed) << "the first state went with the oldest step";

    history.forget();
    constexpr std::size_t k100MB = std::size_t{100} << 20;
    record("Paste", 1, k100MB);
    record("Paste", 2, k100MB);
    EXPECT_EQ(history.stepCount(), 2u);
    record("Paste", 3, k100MB);
    EXPECT_EQ(history.stepCount(), 2u) << "at most 256 megabytes";
    EXPECT_LE(history.sizeInBytes(), UndoHistory::kMaxBytes);
}

TEST_F(UndoHistoryTest, AbsorbedChangeIsUndoneWithTheLastStepAndDropsTheRedoList) {
    record("Note Entry", 1);
    record("Paste", 2);
    history.undo();
    history.absorb(std::make_unique<CountingChange>(log, 9, 16));
    EXPECT_FALSE(history.canRedo());
    history.undo();
    EXPECT_EQ(log, (std::vector<int>{-2, -9, -1}));
}

TEST_F(UndoHistoryTest, ObserverHearsOfEveryChange) {
    int heard = 0;
    history.setObserver([&] { ++heard; });
    record("Note Entry");
    history.undo();
    history.redo();
    history.markSaved();
    history.forget();
    EXPECT_EQ(heard, 5);
}

TEST_F(UndoHistoryTest, SpliceTakesAndPutsBackElementsInTheirVeryOrder) {
    // Three notes with one key: their order is only their insertion order.
    for (int i = 0; i < 3; ++i) {
        addNote(1, 100, 50);
    }
    addNote(1, 0, 40);
    addNote(1, 200, 40);
    const std::vector<const Element*> before = elements(1);

    auto splice = std::make_unique<TrackSplice>(1);
    splice->taken(1, song.track(1).removeAt(1));
    splice->taken(3, song.track(1).removeAt(2));
    const int put = song.track(1).add(std::make_unique<Note>(150, 80, 60, 40, 0, 0));
    splice->put(put);
    const std::vector<const Element*> after = elements(1);

    splice->undo(song);
    EXPECT_EQ(elements(1), before);
    splice->redo(song);
    EXPECT_EQ(elements(1), after);
    EXPECT_EQ(times(1), (std::vector<int>{0, 100, 150, 200}));
}

TEST_F(UndoHistoryTest, SetFirstNoteUndoesToTheOldTimesAndOrder) {
    addNote(0, 100, 60);
    addNote(0, 50, 70);
    song.track(0).add(std::make_unique<Event>(40, 0xB0, std::span<const std::uint8_t>{}, 7, 1, 0));
    addNote(3, 300, 60);
    const std::vector<const Element*> before = elements(0);
    auto step = std::make_unique<UndoStep>("Set First Note", 0);
    setFirstNoteTime(song, 0, step.get());
    EXPECT_EQ(times(0), (std::vector<int>{0, 0, 50}));
    const std::vector<const Element*> after = elements(0);
    history.record(std::move(step));
    history.undo();
    EXPECT_EQ(elements(0), before);
    EXPECT_EQ(times(0), (std::vector<int>{40, 50, 100}));
    EXPECT_EQ(times(3), (std::vector<int>{300}));
    history.redo();
    EXPECT_EQ(elements(0), after);
    EXPECT_EQ(times(3), (std::vector<int>{250}));
}

TEST_F(UndoHistoryTest, CarriedProgramsUndoInOneStepWithTheirProgramChanges) {
    song.track(1).add(std::make_unique<Event>(0, 0xC1, std::span<const std::uint8_t>{}, 5, 0, 0));
    addNote(1, 0, 60);
    addNote(2, 10, 60);
    song.program[1] = 5;
    const std::vector<const Element*> track1 = elements(1);
    std::array<int, 16> programs = song.program;
    programs[1] = 40;  // changes the program change there
    programs[2] = 0;   // inserts one before the note
    programs[3] = 7;   // an empty track gets one
    auto step = std::make_unique<UndoStep>("Change Voices", UndoStep::kNowhere);
    carryPrograms(song, programs, *step);
    history.record(std::move(step));
    const auto programAt0 = [&](int track) {
        return static_cast<const Event*>(song.track(track).at(0))->data1();
    };
    EXPECT_EQ(std::vector({programAt0(1), programAt0(2), programAt0(3)}), std::vector({40, 0, 7}));
    EXPECT_EQ(times(2), (std::vector<int>{0, 10}));
    EXPECT_TRUE(song.changed);

    history.undo();
    EXPECT_EQ(elements(1), track1);
    EXPECT_EQ(programAt0(1), 5);
    EXPECT_EQ(times(2), (std::vector<int>{10}));
    EXPECT_TRUE(song.track(3).empty());
    EXPECT_EQ(song.program[3], OMBData::kNoProgram);
    EXPECT_FALSE(song.changed);
    history.redo();
    EXPECT_EQ(std::vector({programAt0(1), programAt0(2), programAt0(3)}), std::vector({40, 0, 7}));

    // The same programs again change nothing, so make no step.
    auto again = std::make_unique<UndoStep>("Change Voices", UndoStep::kNowhere);
    carryPrograms(song, programs, *again);
    EXPECT_TRUE(again->empty());
}

TEST_F(UndoHistoryTest, KeyChoiceUndoesTheSlotsAndTheKeyEventsAtTickZero) {
    song.keySignature = {1, 1, 0, 0, 0, 0, 0};
    song.track(0).add(std::make_unique<Event>(
        0, Event::kStatusMeta, std::span<const std::uint8_t>{}, Event::kMetaKeySignature, 2, 0));
    auto change = std::make_unique<KeySignatureChange>(song, -3);
    change->choose(song);
    auto step = std::make_unique<UndoStep>("Key Signature", UndoStep::kNowhere);
    step->add(std::move(change));
    history.record(std::move(step));
    history.undo();
    EXPECT_EQ(song.keySignature, (KeySignature{1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(static_cast<const Event*>(song.track(0).at(0))->data2(), 2);
    history.redo();
    EXPECT_EQ(song.keySignatureSum(), -3);
    EXPECT_EQ(static_cast<const Event*>(song.track(0).at(0))->data2(), -3);
}

TEST_F(UndoHistoryTest, UndoOfAnotherValueLeavesTheSharedTempoAlone) {
    song.program[2] = 7;
    auto step = std::make_unique<UndoStep>("Delete Current Track", UndoStep::kNowhere);
    deleteTrack(song, 2, step.get());
    history.record(std::move(step));
    timing.defaultTempo = 95;  // set since, perhaps for another song
    history.undo();
    EXPECT_EQ(song.program[2], 7);
    EXPECT_EQ(timing.defaultTempo, 95);
}

}  // namespace
