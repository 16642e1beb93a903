// Exporting the songs of resources/songs as 44.1 kHz WAV files through the built-in
// synthesizer (FluidSynth on one core), from the play to the renamed file, SoundFont loading
// excluded. The counter realtime_x is seconds of audio per second of CPU time; audio_s is the
// file's length. The target is at least 100x for speed_the_plough.
// TimerFloor: an empty iteration, the floor under the numbers above.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "model/omb_data.h"
#include "platform/built_in_synthesizer.h"
#include "platform/null_ui.h"
#include "platform/progress.h"
#include "playback/audio_exporter.h"
#include "smf/midi_file.h"

namespace {

const char* const kSongs[] = {"speed_the_plough", "little_waltz", "morning_round"};

class Unwatched : public Progress {
public:
    bool step(double) override { return true; }
};

void BM_ExportSong(benchmark::State& state) {
    const std::string name = kSongs[state.range(0)];
    state.SetLabel(name);
    NullUi ui;
    SongTiming timing;
    OMBData song(timing);
    if (!MidiFile(song, ui).load(std::string(TOLVAR32_SONG_DIR) + "/" + name + ".mid")) {
        state.SkipWithError("load failed");
        return;
    }
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    if (!synthesizer) {
        state.SkipWithError("no SoundFont");
        return;
    }
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("audio_export_bench_" + std::to_string(::getpid()) + ".wav");
    AudioExporter exporter(ui);
    Unwatched progress;
    for (auto _ : state) {
        exporter.exportSong(song, *synthesizer, file, progress);
    }
    SF_INFO info{};
    SNDFILE* written = sf_open(file.c_str(), SFM_READ, &info);
    sf_close(written);
    std::filesystem::remove(file);
    const double audioSeconds = static_cast<double>(info.frames) / 44100;
    state.counters["audio_s"] = audioSeconds;
    state.counters["realtime_x"] = benchmark::Counter(
        audioSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TimerFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_ExportSong)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimerFloor);

}  // namespace
