// Where the notes of an exported song sound, against FluidSynth's own command-line renderer
// (`fluidsynth -ni -F`, Debian package fluidsynth) on the same file and SoundFont. Both files
// are compared near each of the song's first 50 note starts: the report gives, per distinct
// start, how far the export's sound there is shifted from the renderer's (the shift that
// makes the two agree best), and the first sounding frame of each file. The summary counts the
// starts within 1.5 ms, as they are and with the renderer's block of lag taken off (see
// check()). Not a Google Benchmark: one run renders each song once.
//
// Usage: audio_onset_check [SONG.mid...]   (default: speed_the_plough and a generated
//        16-track song of about 20 s)
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "large_song.h"
#include "model/omb_data.h"
#include "platform/built_in_synthesizer.h"
#include "platform/null_ui.h"
#include "platform/progress.h"
#include "playback/audio_exporter.h"
#include "smf/midi_file.h"

namespace {

constexpr int kRateHz = BuiltInSynthesizer::kSampleRate;
constexpr std::size_t kNotes = 50;
// Fifty notes a track of the generated song: about 20 s.
constexpr int kShortSongNotes = 800;
// The sound compared: from 2 ms before a note's start to 8 ms after it, before the notes
// sounding on from earlier have changed much.
constexpr long kLeadFrames = kRateHz * 2 / 1000;
constexpr long kWindowFrames = kRateHz * 10 / 1000;
constexpr long kMaxShiftFrames = kRateHz * 5 / 1000;
constexpr double kAgreementMs = 1.5;
constexpr long kSynthBlockFrames = 64;
const char* const kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

class Unwatched : public Progress {
public:
    bool step(double) override { return true; }
};

// The file's frames, left and right summed.
std::vector<double> readMono(const std::filesystem::path& file) {
    SF_INFO info{};
    SNDFILE* handle = sf_open(file.c_str(), SFM_READ, &info);
    if (handle == nullptr) {
        return {};
    }
    std::vector<double> frames(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_double(handle, frames.data(), info.frames);
    sf_close(handle);
    std::vector<double> mono(static_cast<std::size_t>(info.frames));
    for (std::size_t i = 0; i < mono.size(); ++i) {
        for (int c = 0; c < info.channels; ++c) {
            mono[i] += frames[i * static_cast<std::size_t>(info.channels) + c];
        }
    }
    return mono;
}

// The first frame louder than the command's dither, a step or two of 16 bits.
long firstSoundingFrame(const std::vector<double>& mono) {
    const auto at =
        std::find_if(mono.begin(), mono.end(), [](double s) { return std::fabs(s) > 4.0 / 32768; });
    return at == mono.end() ? -1 : static_cast<long>(at - mono.begin());
}

// How many frames later than theirs ours sounds near frame at: the shift of ours, within
// kMaxShiftFrames, whose first difference over the window from frame on best matches theirs
// (the largest normalized correlation), so that the levels of the two need not agree.
long shiftNear(const std::vector<double>& ours, const std::vector<double>& theirs, long at) {
    const auto slope = [](const std::vector<double>& mono, long i) {
        return i < 1 || i >= static_cast<long>(mono.size())
                   ? 0.0
                   : mono[static_cast<std::size_t>(i)] - mono[static_cast<std::size_t>(i - 1)];
    };
    long best = 0;
    double bestCorrelation = -2;
    for (long shift = -kMaxShiftFrames; shift <= kMaxShiftFrames; ++shift) {
        double both = 0;
        double oursOnly = 0;
        double theirsOnly = 0;
        for (long i = at; i < at + kWindowFrames; ++i) {
            const double a = slope(ours, i + shift);
            const double b = slope(theirs, i);
            both += a * b;
            oursOnly += a * a;
            theirsOnly += b * b;
        }
        const double correlation = both / std::sqrt(oursOnly * theirsOnly + 1e-30);
        if (correlation > bestCorrelation) {
            bestCorrelation = correlation;
            best = shift;
        }
    }
    return best;
}

// The song's first notes, each distinct start once, with the tempo map that times them.
struct Starts {
    std::vector<int> ticks;
    // Tick -> microseconds per quarter note from there on.
    std::map<int, std::uint32_t> tempos;
};

Starts firstNoteStarts(const OMBData& song) {
    Starts starts;
    starts.tempos[0] = Event::usPerQuarterOf(song.timing().defaultTempo);
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            if (element.isNote() && static_cast<const Note&>(element).velocity() > 1) {
                starts.ticks.push_back(element.time());
            } else if (element.isEvent() &&
                       static_cast<const Event&>(element).isMeta(Event::kMetaTempo)) {
                starts.tempos[element.time()] = static_cast<const Event&>(element).usPerQuarter();
            }
        }
    }
    std::sort(starts.ticks.begin(), starts.ticks.end());
    starts.ticks.resize(std::min(starts.ticks.size(), kNotes));
    starts.ticks.erase(std::unique(starts.ticks.begin(), starts.ticks.end()), starts.ticks.end());
    return starts;
}

// The frame each start is due at on the exact schedule.
std::vector<long> exactFrames(const Starts& starts, int timeDivision) {
    std::vector<long> frames;
    for (const int start : starts.ticks) {
        double us = 0;
        for (auto it = starts.tempos.begin(); it != starts.tempos.end() && it->first < start;
             ++it) {
            const auto next = std::next(it);
            const int until = next == starts.tempos.end() ? start : std::min(next->first, start);
            us += static_cast<double>(until - it->first) * it->second / timeDivision;
        }
        frames.push_back(std::lround(us * kRateHz / 1e6));
    }
    return frames;
}

bool check(const std::filesystem::path& midi, const std::filesystem::path& scratch) {
    NullUi ui;
    SongTiming timing;
    OMBData song(timing);
    if (!MidiFile(song, ui).load(midi)) {
        std::fprintf(stderr, "cannot load %s\n", midi.c_str());
        return false;
    }
    const auto exported = scratch / "export.wav";
    const auto rendered = scratch / "fluidsynth.wav";
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    Unwatched progress;
    if (!synthesizer || AudioExporter(ui).exportSong(song, *synthesizer, exported, progress) !=
                            AudioExporter::Result::Written) {
        std::fprintf(stderr, "the export failed\n");
        return false;
    }
    const std::string command = "fluidsynth -ni -q -r " + std::to_string(kRateHz) + " -F '" +
                                rendered.string() + "' " + kSoundFont + " '" + midi.string() +
                                "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "fluidsynth failed (Debian package fluidsynth)\n");
        return false;
    }
    const std::vector<double> ours = readMono(exported);
    const std::vector<double> theirs = readMono(rendered);
    std::printf("%s: first sound at frame %ld (export), %ld (fluidsynth)\n",
                midi.filename().c_str(), firstSoundingFrame(ours), firstSoundingFrame(theirs));
    const std::vector<long> starts = exactFrames(firstNoteStarts(song), song.timeDivision);
    const auto toMs = [](long frames) { return static_cast<double>(frames) * 1000 / kRateHz; };
    int within = 0;
    int withinAfterBlock = 0;
    double worstMs = 0;
    for (const long start : starts) {
        const double ms = toMs(shiftNear(ours, theirs, start - kLeadFrames));
        std::printf("  start at frame %8ld: export %+.2f ms from fluidsynth\n", start, ms);
        worstMs = std::max(worstMs, std::fabs(ms));
        within += std::fabs(ms) <= kAgreementMs ? 1 : 0;
        withinAfterBlock += std::fabs(ms + toMs(kSynthBlockFrames)) <= kAgreementMs ? 1 : 0;
    }
    // The renderer's player sends a block's events before the synthesizer has taken up the
    // previous ones, so its notes start a block after the block their time falls in, where
    // the export starts them.
    std::printf(
        "%s: %zu distinct starts among the first %zu notes, %d within %.1f ms of fluidsynth "
        "(largest difference %.2f ms); with fluidsynth's one block of %.2f ms taken off, %d\n",
        midi.filename().c_str(), starts.size(), kNotes, within, kAgreementMs, worstMs,
        toMs(kSynthBlockFrames), withinAfterBlock);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto scratch = std::filesystem::temp_directory_path() /
                         ("audio_onset_check_" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch);
    std::vector<std::filesystem::path> songs(argv + 1, argv + argc);
    if (songs.empty()) {
        songs.push_back(std::filesystem::path(TOLVAR32_SONG_DIR) / "speed_the_plough.mid");
        const std::vector<std::uint8_t> bytes = makeLargeSong(kShortSongNotes);
        songs.push_back(scratch / "sixteen_tracks.mid");
        std::ofstream(songs.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    bool ok = true;
    for (const auto& song : songs) {
        ok = check(song, scratch) && ok;
    }
    std::filesystem::remove_all(scratch);
    return ok ? 0 : 1;
}
