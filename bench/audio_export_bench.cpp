// Exporting songs as 44.1 kHz WAV files through the built-in synthesizer (FluidSynth on one
// core), from the play to the renamed file, SoundFont loading excluded: the songs of
// resources/songs and ten_minutes, the generated 16-track song of about 600 s. The counter
// realtime_x is seconds of audio per second of CPU time; audio_s is the file's length. The
// target is at least 100x for speed_the_plough, and no more time than FluidSynth's own
// renderer takes on the same file.
// FluidSynthRenderer: the same files rendered by FluidSynth's MIDI file player into a WAV
// file, block by block, as `fluidsynth -ni -F OUT.wav SOUNDFONT SONG.mid` does, with the same
// SoundFont already loaded (the command itself is measured too, CPU time of the whole
// process: FluidSynthCommand, loading included).
// TimerFloor: an empty iteration, the floor under the numbers above.
#include <benchmark/benchmark.h>
#include <fluidsynth.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "large_song.h"
#include "model/omb_data.h"
#include "platform/built_in_synthesizer.h"
#include "platform/null_ui.h"
#include "platform/progress.h"
#include "playback/audio_exporter.h"
#include "smf/midi_file.h"

namespace {

const char* const kSongs[] = {"speed_the_plough", "little_waltz", "morning_round", "ten_minutes"};
const char* const kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

class Unwatched : public Progress {
public:
    bool step(double) override { return true; }
};

std::filesystem::path songFile(int index) {
    const std::string name = kSongs[index];
    if (name != "ten_minutes") {
        return std::string(TOLVAR32_SONG_DIR) + "/" + name + ".mid";
    }
    static const std::filesystem::path generated = [] {
        const auto path = std::filesystem::temp_directory_path() / "tolvar32_ten_minute_song.mid";
        const std::vector<std::uint8_t> bytes = makeLargeSong(kTenMinuteSongNotes);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }();
    return generated;
}

std::filesystem::path wavFile() {
    return std::filesystem::temp_directory_path() /
           ("audio_export_bench_" + std::to_string(::getpid()) + ".wav");
}

// Sets the counters from the file written, and removes it.
void report(benchmark::State& state, const std::filesystem::path& file) {
    SF_INFO info{};
    SNDFILE* written = sf_open(file.c_str(), SFM_READ, &info);
    sf_close(written);
    std::filesystem::remove(file);
    const double audioSeconds = static_cast<double>(info.frames) / 44100;
    state.counters["audio_s"] = audioSeconds;
    state.counters["realtime_x"] = benchmark::Counter(
        audioSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ExportSong(benchmark::State& state) {
    state.SetLabel(kSongs[state.range(0)]);
    NullUi ui;
    SongTiming timing;
    OMBData song(timing);
    if (!MidiFile(song, ui).load(songFile(static_cast<int>(state.range(0))))) {
        state.SkipWithError("load failed");
        return;
    }
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    if (!synthesizer) {
        state.SkipWithError("no SoundFont");
        return;
    }
    const std::filesystem::path file = wavFile();
    AudioExporter exporter(ui);
    Unwatched progress;
    for (auto _ : state) {
        exporter.exportSong(song, *synthesizer, file, progress);
    }
    report(state, file);
}

void BM_FluidSynthRenderer(benchmark::State& state) {
    state.SetLabel(kSongs[state.range(0)]);
    const std::filesystem::path song = songFile(static_cast<int>(state.range(0)));
    const std::filesystem::path file = wavFile();
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "audio.file.name", file.c_str());
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (fluid_synth_sfload(synth, kSoundFont, 1) == FLUID_FAILED) {
        state.SkipWithError("no SoundFont");
    }
    for (auto _ : state) {
        fluid_synth_system_reset(synth);
        fluid_player_t* player = new_fluid_player(synth);
        fluid_player_add(player, song.c_str());
        fluid_player_play(player);
        fluid_file_renderer_t* renderer = new_fluid_file_renderer(synth);
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
               fluid_file_renderer_process_block(renderer) == FLUID_OK) {
        }
        delete_fluid_file_renderer(renderer);
        delete_fluid_player(player);
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    report(state, file);
}

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_FluidSynthCommand(benchmark::State& state) {
    state.SetLabel(kSongs[state.range(0)]);
    const std::filesystem::path file = wavFile();
    const std::string command =
        std::string("fluidsynth -ni -q -F '") + file.string() + "' " + kSoundFont + " '" +
        songFile(static_cast<int>(state.range(0))).string() + "' > /dev/null 2>&1";
    for (auto _ : state) {
        const double before = childCpuSeconds();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("no fluidsynth command (Debian package fluidsynth)");
            break;
        }
        state.SetIterationTime(childCpuSeconds() - before);
    }
    report(state, file);
}

void BM_TimerFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_ExportSong)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FluidSynthRenderer)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FluidSynthCommand)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimerFloor);

}  // namespace
