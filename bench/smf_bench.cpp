// Loading and saving a large song (about 1,000,000 notes in 16 tracks, some 11 MB) through
// the same path the program takes: a file on disk into a fresh song, the song back to disk.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "large_song.h"
#include "model/omb_data.h"
#include "platform/null_ui.h"
#include "playback/voice_table.h"
#include "smf/midi_file.h"

namespace {

void BM_LoadLargeSong(benchmark::State& state) {
    const auto file = largeSongFile();
    NullUi ui;
    for (auto _ : state) {
        SongTiming timing;
        OMBData song(timing);
        if (!MidiFile(song, ui).load(file)) {
            state.SkipWithError("load failed");
        }
        state.PauseTiming();  // freeing the song is not part of loading it
        song.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_SaveLargeSong(benchmark::State& state) {
    NullUi ui;
    SongTiming timing;
    OMBData song(timing);
    MidiFile(song, ui).load(largeSongFile());
    VoiceTable voices;
    const auto out = std::filesystem::temp_directory_path() / "tolvar32_large_song_saved.mid";
    for (auto _ : state) {
        if (!MidiFile(song, ui).write(out, voices.name(song.program[0]))) {
            state.SkipWithError("save failed");
        }
    }
    std::filesystem::remove(out);
}

BENCHMARK(BM_LoadLargeSong)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SaveLargeSong)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
