// Undo and redo on the generated song of about 1,000,000 notes in 16 tracks (some 62,000
// elements a track), as the staff window records its steps.
//
// OneNoteEdit: a note entered in the middle of a track, undone and redone; each of the two is
// one item. The history's size after the step is the counter history_bytes.
// WholeTrackCut: every element of a track cut, undone and redone.
// SetFirstNote: every element of the song moved (times and order), undone and redone; the
// largest step the edits of this build make. SetFirstNoteRecorded / Unrecorded: the edit
// itself with and without its record.
// TimerFloor: an empty iteration, the floor under the numbers above.
#include <benchmark/benchmark.h>

#include <memory>

#include "large_song.h"
#include "model/cut_copy_paste.h"
#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/track_splice.h"
#include "model/undo_history.h"

namespace {

// Undoes and redoes the history's last step; each of the two is one item.
void undoRedo(benchmark::State& state, UndoHistory& history) {
    for (auto _ : state) {
        history.undo();
        history.redo();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_OneNoteEdit(benchmark::State& state) {
    LoadedLargeSong loaded;
    Track& track = loaded.song.track(5);
    const int middle = track.at(track.count() / 2)->time();
    const int index = track.add(std::make_unique<Note>(middle, 80, 120, 60, 0, 5));
    auto splice = std::make_unique<TrackSplice>(5);
    splice->put(index);
    auto step = std::make_unique<UndoStep>("Note Entry", middle);
    step->add(std::move(splice));
    loaded.history.record(std::move(step));
    state.counters["history_bytes"] = static_cast<double>(loaded.history.sizeInBytes());
    state.counters["track_elements"] = track.count();
    undoRedo(state, loaded.history);
}

void BM_WholeTrackCut(benchmark::State& state) {
    LoadedLargeSong loaded;
    Track buffer(-1);
    auto step = std::make_unique<UndoStep>("Cut", 0);
    const ElementSelection everything{
        .fromTick = -2, .throughTick = 0, .takesNote = [](const Note&) { return true; }};
    copySelection(loaded.song, 3, everything, true, buffer, step.get());
    loaded.history.record(std::move(step));
    state.counters["history_bytes"] = static_cast<double>(loaded.history.sizeInBytes());
    undoRedo(state, loaded.history);
}

void BM_SetFirstNote(benchmark::State& state) {
    LoadedLargeSong loaded;
    auto step = std::make_unique<UndoStep>("Set First Note", 480);
    setFirstNoteTime(loaded.song, 480, step.get());
    loaded.history.record(std::move(step));
    state.counters["history_bytes"] = static_cast<double>(loaded.history.sizeInBytes());
    undoRedo(state, loaded.history);
}

void setFirstNoteBackAndForth(benchmark::State& state, bool recorded) {
    LoadedLargeSong loaded;
    int tick = 0;
    for (auto _ : state) {
        tick = tick == 0 ? 480 : 0;
        UndoStep step("Set First Note", tick);
        setFirstNoteTime(loaded.song, tick, recorded ? &step : nullptr);
        state.PauseTiming();  // the step goes here, not with the edit
        step = UndoStep("", 0);
        state.ResumeTiming();
    }
}

void BM_SetFirstNoteRecorded(benchmark::State& state) {
    setFirstNoteBackAndForth(state, true);
}

void BM_SetFirstNoteUnrecorded(benchmark::State& state) {
    setFirstNoteBackAndForth(state, false);
}

void BM_TimerFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_OneNoteEdit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeTrackCut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetFirstNote)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetFirstNoteRecorded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetFirstNoteUnrecorded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimerFloor);

}  // namespace
