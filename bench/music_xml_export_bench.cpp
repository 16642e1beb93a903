// MusicXML export of the generated song of about 1,000,000 notes in 16 tracks (overlapping
// voices, chords, drums, tempo changes): the score built whole in memory (ScoreText, as the
// tests read it) and streamed to a file in the temporary directory (ExportSong), as File >
// Export MusicXML and --export-musicxml do. The target is under 2 s for the whole export.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "large_song.h"
#include "platform/null_ui.h"
#include "staff/music_xml_exporter.h"

namespace {

void BM_ScoreText(benchmark::State& state) {
    const LoadedLargeSong loaded;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = MusicXmlExporter::scoreText(loaded.song).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["score_mb"] = static_cast<double>(bytes) / 1e6;
}

void BM_ExportSong(benchmark::State& state) {
    const LoadedLargeSong loaded;
    NullUi ui;
    const auto file = std::filesystem::temp_directory_path() / "music_xml_export_bench.musicxml";
    for (auto _ : state) {
        benchmark::DoNotOptimize(MusicXmlExporter(ui).exportSong(loaded.song, file));
    }
    std::filesystem::remove(file);
}

}  // namespace

BENCHMARK(BM_ScoreText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportSong)->Unit(benchmark::kMillisecond)->Iterations(3);
