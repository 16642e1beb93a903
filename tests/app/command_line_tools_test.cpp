#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sndfile.h>

#include "app/command_line_tools.h"
#include "smf/smf_bytes.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

// A reel that abc2midi wrote from tests/smf/data/reel.abc: a file from another program.
const fs::path kReel = fs::path(TOLVAR32_TEST_DATA_DIR) / "reel_from_abc2midi.mid";

struct ToolRun {
    std::optional<int> status;
    std::string out;
    std::string err;
};

ToolRun run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "tolvar32");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> status = runCommandLineTool(argv, out, err);
    return {status, out.str(), err.str()};
}

class CommandLineToolsTest : public ::testing::Test {
protected:
    // The tools read the voice names as the program does; keep the user's settings out. The
    // "Capture" output writes what it is sent to capture_.
    void SetUp() override {
        setenv("TOLVAR32_INI", (dir_ / "tolvar32.ini").c_str(), 1);
        setenv("TOLVAR32_CAPTURE", capture_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("TOLVAR32_INI");
        unsetenv("TOLVAR32_CAPTURE");
    }
    ScratchDir dir_;
    const fs::path capture_ = dir_ / "capture.txt";
};

TEST_F(CommandLineToolsTest, SummaryOfAFileFromAnotherProgramAndConvertKeepsEveryNoteAndEvent) {
    const ToolRun summary = run({"--summary", kReel.string()});
    EXPECT_EQ(summary.status, 0);
    EXPECT_EQ(summary.err, "");
    EXPECT_EQ(summary.out,
              "Type: 1\n"
              "Length (min): 1:09\n"
              "Division: 480\n"
              "Tempo: 110\n"
              "Time signature: 4/4\n"
              "Key signature: 1\n"
              " 1\t    5\t      --NONE--\n"
              " 2\t  189\t        Violin\n"
              " 3\t   98\t Acoustic Gran\n");
    EXPECT_FALSE(fs::exists(dir_ / "tolvar32.ini")) << "the tools change no settings";

    const ToolRun before = run({"--events", kReel.string()});
    EXPECT_EQ(before.status, 0);
    EXPECT_EQ(std::count(before.out.begin(), before.out.end(), '\n'), 292);
    EXPECT_NE(before.out.find("T2 1 note 67 105 239 1\n"), std::string::npos);

    const fs::path copy = dir_ / "copy.mid";
    const ToolRun convert = run({"--convert", kReel.string(), copy.string()});
    EXPECT_EQ(convert.status, 0);
    EXPECT_EQ(convert.out + convert.err, "");
    EXPECT_EQ(run({"--events", copy.string()}).out, before.out);
}

TEST_F(CommandLineToolsTest, FailuresPrintTheMessageAndExitWithOneAndExportAudioWritesTheFile) {
    const ToolRun missing = run({"--events", (dir_ / "none.mid").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Error: " + (dir_ / "none.mid").string() + " Not found\n");

    const ToolRun unwritable = run({"--convert", kReel.string(), (dir_ / "no/dir/x.mid").string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, "Error: File does not exist, or is read only\n");

    // Written, but not the whole song: a script must be able to tell.
    Bytes many = header(1, 18, 120);
    for (int t = 0; t < 18; ++t) {
        many = many + track({0x00, 0xC0, static_cast<std::uint8_t>(t)});
    }
    ScratchDir::write(dir_ / "many.mid", std::string(many.begin(), many.end()));
    const ToolRun partial =
        run({"--convert", (dir_ / "many.mid").string(), (dir_ / "sixteen.mid").string()});
    EXPECT_EQ(partial.status, 2);
    EXPECT_EQ(partial.err, "Warning: Only 16 of the 18 tracks opened; " +
                               (dir_ / "sixteen.mid").string() + " lacks the other 2\n");
    EXPECT_TRUE(fs::exists(dir_ / "sixteen.mid"));

    EXPECT_EQ(run({"--summary"}).status, 2);
    EXPECT_EQ(run({"--frobnicate"}).status, 2);
    EXPECT_EQ(run({"--version"}).out.rfind("tolvar 32 ", 0), 0u);
    EXPECT_EQ(run({"song.mid"}).status, std::nullopt) << "a song to open is not a tool";
    EXPECT_EQ(run({}).status, std::nullopt);

    const fs::path wav = dir_ / "reel.wav";
    const ToolRun written =
        run({"--export-audio", kReel.string(), wav.string(), "--rate", "48000"});
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out + written.err, "");
    EXPECT_GT(fs::file_size(wav), 48000u * 4 * 60) << "over a minute of 16-bit stereo";

    const ToolRun badSoundFont =
        run({"--export-audio", kReel.string(), wav.string(), "--soundfont", kReel.string()});
    EXPECT_EQ(badSoundFont.status, 1);
    EXPECT_EQ(badSoundFont.err, "Error: Could not load the SoundFont " + kReel.string() + "\n");
    EXPECT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--rate", "22050"}).status, 2);
    EXPECT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--rate"}).status, 2);
}

// The loudest 16-bit sample of a WAV file, full scale 1.
double wavPeak(const fs::path& file) {
    const std::string bytes = ScratchDir::read(file);
    const std::size_t data = bytes.find("data");
    EXPECT_NE(data, std::string::npos);
    int loudest = 0;
    for (std::size_t i = data + 8; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                      static_cast<std::uint8_t>(bytes[i + 1]) << 8);
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    }
    return loudest / 32768.0;
}

// A script keeps the synthesizer's own level unless it asks for another.
TEST_F(CommandLineToolsTest, ExportAudioKeepsTheRawLevelUnlessGivenAGainOrANormalizedPeak) {
    const fs::path wav = dir_ / "reel.wav";
    ASSERT_EQ(run({"--export-audio", kReel.string(), wav.string()}).status, 0);
    const double raw = wavPeak(wav);
    ASSERT_GT(raw, 0.01);
    ASSERT_LT(raw, 0.4);
    ASSERT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--gain", "-6"}).status, 0);
    EXPECT_NEAR(wavPeak(wav), raw / 1.99526, 3.0 / 32768);
    ASSERT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--normalize", "-1"}).status, 0);
    EXPECT_NEAR(wavPeak(wav), 0.891251, 2.0 / 32768);
    ASSERT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--normalize", "-6.5", "--rate",
                   "44100"})
                  .status,
              0);
    EXPECT_NEAR(wavPeak(wav), 0.473151, 2.0 / 32768);
    for (const char* bad : {"loud", "", "41", "-6dB", "nan", "1e999"}) {
        EXPECT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--gain", bad}).status, 2)
            << bad;
    }
    EXPECT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--normalize", "1"}).status, 2)
        << "a peak above full scale";
    EXPECT_EQ(run({"--export-audio", kReel.string(), wav.string(), "--normalize"}).status, 2);
}

TEST_F(CommandLineToolsTest, ExportMusicXmlWritesTheScoreOrSaysWhyAndLeavesNoFile) {
    const fs::path score = dir_ / "reel.musicxml";
    const ToolRun written = run({"--export-musicxml", kReel.string(), score.string()});
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out + written.err, "");
    const std::string text = ScratchDir::read(score);
    EXPECT_NE(text.find("<score-partwise version=\"4.0\">"), std::string::npos);
    EXPECT_NE(text.rfind("</score-partwise>\n"), std::string::npos);

    const ToolRun missing =
        run({"--export-musicxml", (dir_ / "none.mid").string(), (dir_ / "none.musicxml").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Error: " + (dir_ / "none.mid").string() + " Not found\n");
    EXPECT_FALSE(fs::exists(dir_ / "none.musicxml"));

    const fs::path nowhere = dir_ / "no" / "dir" / "x.musicxml";
    const ToolRun unwritable = run({"--export-musicxml", kReel.string(), nowhere.string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, "Error: Could not write " + nowhere.string() + "\n");

    // A song without a sounding note has no score; the earlier file stays as it was.
    Bytes empty = header(1, 1, 120) + track({0x00, 0xC0, 0x05});
    ScratchDir::write(dir_ / "empty.mid", std::string(empty.begin(), empty.end()));
    const ToolRun noNotes =
        run({"--export-musicxml", (dir_ / "empty.mid").string(), score.string()});
    EXPECT_EQ(noNotes.status, 1);
    EXPECT_EQ(noNotes.err, "Error: The song has no notes to export\n");
    EXPECT_EQ(ScratchDir::read(score), text);
    EXPECT_EQ(run({"--export-musicxml", kReel.string()}).status, 2);
}

// Per second of a 44.1 kHz stereo file, whether anything in it is heard; empty when the file
// cannot be read.
std::vector<bool> soundingSeconds(const fs::path& file) {
    SF_INFO info{};
    SNDFILE* handle = sf_open(file.c_str(), SFM_READ, &info);
    if (handle == nullptr) {
        return {};
    }
    std::vector<short> frames(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_short(handle, frames.data(), info.frames);
    sf_close(handle);
    std::vector<bool> seconds(static_cast<std::size_t>(info.frames / info.samplerate + 1));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i] != 0) {
            seconds[i / 2 / static_cast<std::size_t>(info.samplerate)] = true;
        }
    }
    return seconds;
}

TEST_F(CommandLineToolsTest, ExportAudioOfOneTrackOfSixteenIsAStemOfThatTrackAlone) {
    // Track t plays one short note on channel t at 3 t seconds (120 ticks a quarter at 120
    // quarter notes a minute: 720 ticks).
    Bytes song = header(1, 16, 120);
    for (int t = 0; t < 16; ++t) {
        const int delta = t * 720;
        const Bytes time = delta < 128
                               ? Bytes{std::uint8_t(delta)}
                               : Bytes{std::uint8_t(0x80 | delta >> 7), std::uint8_t(delta & 0x7F)};
        const std::uint8_t channel = static_cast<std::uint8_t>(t);
        song = song + track(time + Bytes{std::uint8_t(0x90 | channel), 60, 100, 24,
                                         std::uint8_t(0x80 | channel), 60, 0});
    }
    ScratchDir::write(dir_ / "sixteen.mid", std::string(song.begin(), song.end()));
    const fs::path stem = dir_ / "stem.wav";
    const ToolRun written =
        run({"--export-audio", (dir_ / "sixteen.mid").string(), stem.string(), "--track", "7"});
    ASSERT_EQ(written.status, 0) << written.err;
    const std::vector<bool> seconds = soundingSeconds(stem);
    ASSERT_GE(seconds.size(), 46u) << "the stem runs the length of the song";
    // Track 7's note at 18 s, with its release; nothing from the other fifteen.
    for (std::size_t second = 0; second < seconds.size(); ++second) {
        if (second < 18 || second > 20) {
            EXPECT_FALSE(seconds[second]) << "second " << second;
        }
    }
    EXPECT_TRUE(seconds[18]);

    const ToolRun two = run({"--export-audio", (dir_ / "sixteen.mid").string(), stem.string(),
                             "--track", "1", "--rate", "44100", "--track", "16"});
    ASSERT_EQ(two.status, 0) << two.err;
    const std::vector<bool> both = soundingSeconds(stem);
    ASSERT_GE(both.size(), 46u);
    EXPECT_TRUE(both[0]);
    EXPECT_FALSE(both[3]);
    EXPECT_TRUE(both[45]);

    for (const char* bad : {"0", "17", "x", "1,2", ""}) {
        EXPECT_EQ(run({"--export-audio", kReel.string(), stem.string(), "--track", bad}).status, 2)
            << bad;
    }
    EXPECT_EQ(run({"--export-audio", kReel.string(), stem.string(), "--track"}).status, 2);
}

TEST_F(CommandLineToolsTest, ListPortsNamesOutputsThenInputsAndPlayRefusesAMissingOrUnchosenPort) {
    const ToolRun ports = run({"--list-ports"});
    EXPECT_EQ(ports.status, 0);
    const std::string lastOutputs = "out: Capture\nout: Built-in Synthesizer\n";
    const std::size_t outputsEnd = ports.out.find(lastOutputs);
    ASSERT_NE(outputsEnd, std::string::npos);
    EXPECT_EQ(ports.out.find("out: ", outputsEnd + lastOutputs.size()), std::string::npos);

    const ToolRun unknown = run({"--play", kReel.string(), "--port", "No Such Port"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "Error: MIDI Board not found - Re-configure\n");

    ScratchDir::write(dir_ / "tolvar32.ini", "[MIDI Config]\nBoard=-NONE-\n");
    const ToolRun none = run({"--play", kReel.string()});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "tolvar32: no output port is configured; name one with --port\n");
}

TEST_F(CommandLineToolsTest, PlaySendsTheWholeSongToThePortAndSilencesIt) {
    const fs::path song = dir_ / "two notes.mid";
    ScratchDir::write(song, [] {
        // 120 quarter notes a minute, 120 ticks a quarter: 24 ticks are 100 ms.
        const Bytes events = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xC0,
                              0x05, 0x00, 0x90, 60,   100,  24,   0x80, 60,   64,
                              0x00, 0x90, 64,   100,  24,   0x80, 64,   64};
        const Bytes file = midiFile(0, 120, {events});
        return std::string(file.begin(), file.end());
    }());
    const ToolRun play = run({"--play", song.string(), "--port", "Capture"});
    EXPECT_EQ(play.status, 0);

    std::istringstream lines(ScratchDir::read(capture_));
    std::vector<std::string> messages;
    std::vector<long> times;
    for (std::string line; std::getline(lines, line);) {
        times.push_back(std::stol(line));
        messages.push_back(line.substr(line.find(' ') + 1));
    }
    // The initial settings and the chased program; the song; everything off on 16 channels.
    ASSERT_EQ(messages.size(), 48u + 1 + 5 + 32);
    EXPECT_EQ(std::vector(messages.begin() + 48, messages.begin() + 54),
              (std::vector<std::string>{"192 5", "192 5", "144 60 100", "144 64 100", "128 60 0",
                                        "128 64 0"}));
    EXPECT_EQ(messages.back(), "191 123 0");
    EXPECT_NEAR(times[53] - times[51], 100'000, 10'000);
}

TEST_F(CommandLineToolsTest, CtrlCStopsThePlayWithEverythingOff) {
    // The capture file appears when the port opens, once Ctrl-C is caught.
    std::thread pressCtrlC([&] {
        for (int i = 0; i < 1000 && !fs::exists(capture_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::raise(SIGINT);
    });
    const ToolRun play = run({"--play", kReel.string(), "--port", "Capture"});
    pressCtrlC.join();
    EXPECT_EQ(play.status, 128 + SIGINT);
    EXPECT_TRUE(ScratchDir::read(capture_).ends_with(" 191 123 0\n"));
}

}  // namespace
