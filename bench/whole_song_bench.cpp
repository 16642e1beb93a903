// The whole-song commands on the generated song of about 1,000,000 notes in 16 tracks.
//
// SongSummary: what the Song Summary dialog shows, length included.
// Transpose / Volume: every note of the song moved by a semitone, drums included, or ten
// velocity steps down, as one recorded step (Edit), and that step undone (Undo);
// step_bytes is what the step keeps.
// TimerFloor: an empty iteration, the floor under the numbers above.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/song_summary.h"
#include "large_song.h"
#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/undo_history.h"
#include "playback/voice_table.h"

namespace {

void BM_SongSummary(benchmark::State& state) {
    LoadedLargeSong loaded;
    const VoiceTable voices;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SongSummary::of(loaded.song, voices));
    }
}

// Applies the edit as its dialog does, as one step of the history, then undoes it; times
// either the edit with its record or the undo.
template <typename Edit>
void editAndUndo(benchmark::State& state, const char* name, bool timeUndo, const Edit& edit) {
    LoadedLargeSong loaded;
    std::size_t stepBytes = 0;
    for (auto _ : state) {
        if (timeUndo) {
            state.PauseTiming();
        }
        auto step = std::make_unique<UndoStep>(name, UndoStep::kNowhere);
        edit(loaded.song, step.get());
        loaded.history.record(std::move(step));
        stepBytes = loaded.history.sizeInBytes();
        if (timeUndo) {
            state.ResumeTiming();
        } else {
            state.PauseTiming();
        }
        loaded.history.undo();
        // The step waits in the redo list until the next record drops it, which is timed in
        // neither.
        loaded.history.forget();
        if (!timeUndo) {
            state.ResumeTiming();
        }
    }
    state.counters["step_bytes"] = static_cast<double>(stepBytes);
}

void BM_Transpose(benchmark::State& state, bool timeUndo) {
    editAndUndo(state, "Transpose", timeUndo, [](OMBData& song, UndoStep* step) {
        transposeNotes(song, kEveryTrack, 1, true, step);
    });
}

void BM_Volume(benchmark::State& state, bool timeUndo) {
    editAndUndo(state, "Volume", timeUndo, [](OMBData& song, UndoStep* step) {
        changeVelocities(song, kEveryTrack, -10, step);
    });
}

void BM_TimerFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_SongSummary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transpose, Edit, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transpose, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Volume, Edit, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Volume, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimerFloor);

}  // namespace
