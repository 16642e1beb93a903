#include "app/command_line_tools.h"

#include <signal.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "app/settings.h"
#include "app/song_summary.h"
#include "app/sound_font_control.h"
#include "app/version.h"
#include "model/omb_data.h"
#include "platform/built_in_synthesizer.h"
#include "platform/capture_output.h"
#include "platform/command_queue.h"
#include "platform/console_ui.h"
#include "platform/mm_timer.h"
#include "platform/profile.h"
#include "platform/progress.h"
#include "platform/system_midi_ports.h"
#include "playback/audio_exporter.h"
#include "playback/command_ids.h"
#include "playback/midi_device.h"
#include "playback/player.h"
#include "playback/track_mix.h"
#include "playback/voice_table.h"
#include "smf/midi_file.h"
#include "staff/music_xml_exporter.h"

namespace {

constexpr const char* kUsage =
    "Usage: tolvar32 [FILE.mid]\n"
    "       tolvar32 OPTION\n"
    "A MIDI sequencer and staff-notation editor.\n"
    "\n"
    "  --events FILE.mid           list every note and event of the song\n"
    "  --summary FILE.mid          show the song's format, length, tempo and tracks\n"
    "  --convert IN.mid OUT.mid    load IN and save it as OUT\n"
    "  --list-ports                list the MIDI outputs (out: NAME) and inputs (in: NAME)\n"
    "  --play FILE.mid [--port NAME]\n"
    "                              play the whole song through the output NAME, or the\n"
    "                              one chosen in the configuration; Ctrl-C stops it\n"
    "  --export-audio IN.mid OUT.wav|OUT.flac|OUT.ogg [--rate 44100|48000]\n"
    "               [--soundfont FILE.sf2] [--gain DB] [--normalize PEAK_DB] [--track N]...\n"
    "                              render the song through the built-in synthesizer, at\n"
    "                              its own level raised by DB, or scaled so its loudest\n"
    "                              sample stands at PEAK_DB (-1 is the window's choice);\n"
    "                              --track N (1-16, repeatable) lets only those tracks'\n"
    "                              notes sound: a stem\n"
    "  --export-musicxml IN.mid OUT.musicxml\n"
    "                              write the song's notation as a MusicXML score\n"
    "  --render-page FILE.mid OUT.png [--piano] [--bar N] [--track N] [--size WxH]\n"
    "                              draw a page of the song as the staff window shows it\n"
    "  --print FILE.mid OUT.pdf [--pages FROM-TO]\n"
    "                              print the song's pages as Print does, to a PDF file\n"
    "  --help                      show this help and exit\n"
    "  --version                   show the version and exit\n";

// The voice names, as the program finds them at start-up.
void loadVoices(VoiceTable& voices, Ui& ui) {
    Profile profile(Profile::defaultPath());
    voices.loadAtStartup(Settings(profile, ui).text(settings_keys::kSynFile));
}

// A song loaded from a file, for one tool.
struct LoadedSong {
    LoadedSong(const char* path, Ui& ui) : loaded(MidiFile(song, ui).load(path)) {}

    SongTiming timing;
    OMBData song{timing};
    bool loaded;
};

int listEvents(const char* path, std::ostream& out, Ui& ui) {
    const LoadedSong input(path, ui);
    if (input.loaded) {
        writeEventListing(input.song, out);
    }
    return input.loaded ? 0 : 1;
}

int summarize(const char* path, std::ostream& out, Ui& ui) {
    const LoadedSong input(path, ui);
    if (!input.loaded) {
        return 1;
    }
    VoiceTable voices;
    loadVoices(voices, ui);
    writeSongSummary(input.song, voices, out);
    return 0;
}

// Exits with 2 when the copy lacks tracks of the original: written, but not the whole song.
int convert(const char* in, const char* out, std::ostream& err, Ui& ui) {
    LoadedSong input(in, ui);
    if (!input.loaded) {
        return 1;
    }
    VoiceTable voices;
    loadVoices(voices, ui);
    const int leftOut = input.song.tracksLeftOut();
    const std::string leftOutText = input.song.tracksLeftOutText();
    if (!MidiFile(input.song, ui).write(out, voices.name(input.song.program[0]))) {
        return 1;
    }
    if (leftOut > 0) {
        err << "Warning: " << leftOutText << "; " << out << " lacks the other " << leftOut << '\n';
        return 2;
    }
    return 0;
}

int exportMusicXml(const char* in, const char* out, Ui& ui) {
    const LoadedSong input(in, ui);
    return input.loaded && MusicXmlExporter(ui).exportSong(input.song, out) ? 0 : 1;
}

int listPorts(std::ostream& out) {
    SystemMidiPorts ports(CaptureOutput::fileFromEnvironment());
    for (const std::string& name : ports.listOutputs()) {
        out << "out: " << name << '\n';
    }
    for (const std::string& name : ports.listInputs()) {
        out << "in: " << name << '\n';
    }
    return 0;
}

// How often a play looks whether Ctrl-C was pressed.
constexpr std::chrono::milliseconds kInterruptCheck{20};
// The exit status of a play stopped by Ctrl-C, as a shell reports a program it interrupted.
constexpr int kInterruptedStatus = 128 + SIGINT;

// Ctrl-C may reach any thread of the process, the timer's too, so the flag is an atomic
// (lock-free, hence safe in a signal handler) rather than a sig_atomic_t.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void noteInterrupt(int) {
    interrupted = true;
}

// While it lives, Ctrl-C stops the play rather than the program, so the notes that sound
// are turned off.
class InterruptCatcher {
public:
    InterruptCatcher() {
        interrupted = false;
        struct sigaction action {};
        action.sa_handler = noteInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &saved_);
    }
    ~InterruptCatcher() { sigaction(SIGINT, &saved_, nullptr); }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    struct sigaction saved_ {};
};

// Play All without a window: the timer's steps come to this thread through a queue.
int playSong(const char* path, const char* portName, std::ostream& err, Ui& ui) {
    const LoadedSong input(path, ui);
    if (!input.loaded) {
        return 1;
    }
    Profile profile(Profile::defaultPath());
    const std::string port = portName != nullptr ? portName : Settings(profile, ui).board();
    SystemMidiPorts ports(CaptureOutput::fileFromEnvironment());
    MidiDevice device(ports, ui);
    device.listOutputs();
    device.selectOutputByName(port, -1);
    if (!device.outputEnabled()) {
        if (port == MidiDevice::kNone) {
            err << "tolvar32: no output port is configured; name one with --port\n";
        }
        return 1;
    }
    MmTimer clock;
    CommandQueue commands;
    Player player(device, clock, commands, ui);
    const InterruptCatcher catcher;
    bool playing = player.playAll(input.song, -1, false, nullptr);
    const bool started = playing;
    while (playing && !interrupted) {
        const auto command = commands.take(kInterruptCheck);
        if (command && command->commandId == ID_PLAY_STEP) {
            playing = player.PlayTick(command->param, false);
        }
    }
    player.stopAll();
    if (!started) {
        return 1;
    }
    return interrupted ? kInterruptedStatus : 0;
}

// Ctrl-C cancels an export, which then leaves no file behind.
class InterruptibleProgress : public Progress {
public:
    bool step(double) override { return !interrupted; }
};

// The options of --export-audio after its two files.
struct ExportOptions {
    int sampleRateHz = BuiltInSynthesizer::kSampleRate;
    const char* soundFont = "";
    AudioExporter::Level level;
    // The tracks whose notes are heard, one bit each; 0 for all.
    std::uint16_t tracks = 0;
};

// A level in dB from min to max, written as a decimal number.
std::optional<double> decibels(const char* text, double min, double max) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value >= min && value <= max)) {
        return std::nullopt;
    }
    return value;
}

std::optional<ExportOptions> parseExportOptions(std::span<char* const> options) {
    ExportOptions parsed;
    for (std::size_t i = 0; i + 1 < options.size(); i += 2) {
        const std::string_view name = options[i];
        const std::string_view value = options[i + 1];
        if (name == "--rate" && (value == "44100" || value == "48000")) {
            parsed.sampleRateHz = value == "44100" ? 44100 : 48000;
        } else if (name == "--soundfont") {
            parsed.soundFont = options[i + 1];
        } else if (const auto gain = decibels(options[i + 1], -40, 40); name == "--gain" && gain) {
            parsed.level.gainDb = *gain;
        } else if (const auto peak = decibels(options[i + 1], -60, 0);
                   name == "--normalize" && peak) {
            parsed.level.normalizePeakDb = *peak;
        } else if (name == "--track" && TrackMix::parseTrackList(value) != 0 &&
                   value.find_first_not_of("0123456789") == std::string_view::npos) {
            parsed.tracks |= TrackMix::parseTrackList(value);
        } else {
            return std::nullopt;
        }
    }
    return options.size() % 2 == 0 ? std::optional(parsed) : std::nullopt;
}

int exportAudio(const char* in, const char* out, const ExportOptions& options, Ui& ui) {
    const LoadedSong input(in, ui);
    if (!input.loaded) {
        return 1;
    }
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None,
                                                       options.sampleRateHz, options.soundFont);
    if (!synthesizer) {
        ui.errorBox(*options.soundFont != '\0'
                        ? std::string("Could not load the SoundFont ") + options.soundFont
                        : std::string("The built-in synthesizer could not start"));
        return 1;
    }
    // The settings file's SoundFont control, as the program applies it when it starts.
    Profile profile(Profile::defaultPath());
    Settings settings(profile, ui);
    const SoundFontState sound = SoundFontControl::savedState(settings);
    sound.applyTo(*synthesizer);
    AudioExporter exporter(ui);
    exporter.setLeadingBankSelect(sound.leadingBankSelect());
    exporter.setLevel(options.level);
    if (options.tracks != 0) {
        exporter.setTrackMix(TrackMix::only(options.tracks));
    }
    const InterruptCatcher catcher;
    InterruptibleProgress progress;
    switch (exporter.exportSong(input.song, *synthesizer, out, progress)) {
        case AudioExporter::Result::Written:
            return 0;
        case AudioExporter::Result::Cancelled:
            return kInterruptedStatus;
        default:
            return 1;
    }
}

}  // namespace

std::optional<int> runCommandLineTool(std::span<char* const> arguments, std::ostream& out,
                                      std::ostream& err) {
    if (arguments.size() < 2 || std::strncmp(arguments[1], "--", 2) != 0) {
        return std::nullopt;
    }
    const std::string_view tool = arguments[1];
    const std::size_t operands = arguments.size() - 2;
    ConsoleUi ui(err);
    if (tool == "--help" && operands == 0) {
        out << kUsage;
        return 0;
    }
    if (tool == "--version" && operands == 0) {
        out << "tolvar 32 " << kProgramVersion << '\n';
        return 0;
    }
    if (tool == "--events" && operands == 1) {
        return listEvents(arguments[2], out, ui);
    }
    if (tool == "--summary" && operands == 1) {
        return summarize(arguments[2], out, ui);
    }
    if (tool == "--convert" && operands == 2) {
        return convert(arguments[2], arguments[3], err, ui);
    }
    if (tool == "--export-musicxml" && operands == 2) {
        return exportMusicXml(arguments[2], arguments[3], ui);
    }
    if (tool == "--list-ports" && operands == 0) {
        return listPorts(out);
    }
    if (tool == "--play" && operands == 1) {
        return playSong(arguments[2], nullptr, err, ui);
    }
    if (tool == "--play" && operands == 3 && std::string_view(arguments[3]) == "--port") {
        return playSong(arguments[2], arguments[4], err, ui);
    }
    if (tool == "--export-audio" && operands >= 2) {
        const auto options = parseExportOptions(arguments.subspan(4));
        if (options) {
            return exportAudio(arguments[2], arguments[3], *options, ui);
        }
    }
    err << "tolvar32: unknown option or wrong number of files: " << tool << "\n\n" << kUsage;
    return 2;
}

void writeEventListing(const OMBData& song, std::ostream& out) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            out << 'T' << t + 1 << ' ' << element.time();
            if (element.isNote()) {
                const auto& note = static_cast<const Note&>(element);
                out << " note " << song.keyOf(note.position(), note.accidental()) << ' '
                    << note.velocity() << ' ' << note.duration() << ' '
                    << static_cast<int>(note.channel()) + 1 << '\n';
                continue;
            }
            const auto& event = static_cast<const Event&>(element);
            out << " event " << event.status() << ' ' << event.data1() << ' ' << event.data2()
                << ' ' << event.data3() << ' ';
            if (!event.hasData()) {
                out << '-';
            }
            for (const std::uint8_t byte : event.data()) {
                static constexpr char kHex[] = "0123456789abcdef";
                out << kHex[byte >> 4] << kHex[byte & 0x0F];
            }
            out << '\n';
        }
    }
}

void writeSongSummary(const OMBData& song, const VoiceTable& voices, std::ostream& out) {
    const SongTiming& timing = song.timing();
    const SongSummary summary = SongSummary::of(song, voices);
    out << "Type: " << summary.format << '\n'
        << "Length (min): " << summary.length << '\n'
        << "Division: " << song.timeDivision << '\n'
        << "Tempo: " << timing.defaultTempo << '\n'
        << "Time signature: " << song.timeSignature.beatsPerBar << '/'
        << song.timeSignature.beatUnit << '\n'
        << "Key signature: " << song.keySignatureSum() << '\n';
    for (const SongSummary::TrackLine& line : summary.lines) {
        out << line.text << '\n';
    }
}
