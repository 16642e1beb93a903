// Building the play buffer of the whole large song (about 1,000,000 notes in 16 tracks), as
// Play All does before the first note sounds.
#include <benchmark/benchmark.h>

#include "large_song.h"
#include "model/omb_data.h"
#include "platform/null_ui.h"
#include "playback/play_buffer.h"
#include "playback/play_buffer_builder.h"
#include "smf/midi_file.h"

namespace {

void BM_BuildPlayBufferOfLargeSong(benchmark::State& state) {
    NullUi ui;
    SongTiming timing;
    OMBData song(timing);
    if (!MidiFile(song, ui).load(largeSongFile())) {
        state.SkipWithError("load failed");
        return;
    }
    PlayBufferBuilder builder(ui);
    PlayBuffer buffer;
    for (auto _ : state) {
        builder.BuildPlayBuffer(song, -1, 0, PlayBufferBuilder::kSongEnd, buffer);
    }
    state.counters["bytes"] = buffer.length();
    state.counters["bars"] = buffer.lastBar();
}

BENCHMARK(BM_BuildPlayBufferOfLargeSong)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
