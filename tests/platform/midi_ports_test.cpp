#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/built_in_synthesizer.h"
#include "platform/capture_output.h"
#include "platform/system_midi_ports.h"
#include "support/scratch_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::string> lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> read;
    for (std::string line; std::getline(in, line);) {
        read.push_back(line);
    }
    return read;
}

// The line's message bytes, without its time.
std::string bytesOf(const std::string& line) {
    return line.substr(line.find(' ') + 1);
}

TEST(CaptureOutputTest, WritesOneLinePerMessageAfterItsMicroseconds) {
    ScratchDir dir;
    const auto file = dir / "capture.txt";
    for (int opening = 0; opening < 2; ++opening) {
        const auto capture = CaptureOutput::open(file);
        ASSERT_TRUE(capture);
        EXPECT_TRUE(capture->send(Bytes{0x90, 60, 100}));
        EXPECT_TRUE(capture->send(Bytes{0xF0, 0x7E, 0xF7}));
    }
    const std::vector<std::string> written = lines(file);
    ASSERT_EQ(written.size(), 4u);
    for (std::size_t i = 0; i < written.size(); i += 2) {
        EXPECT_EQ(bytesOf(written[i]), "144 60 100");
        EXPECT_EQ(bytesOf(written[i + 1]), "240 126 247");
        EXPECT_LE(std::stoll(written[i]), std::stoll(written[i + 1]));
    }
    EXPECT_FALSE(CaptureOutput::open(dir / "no such directory" / "capture.txt"));
}

double rms(const std::vector<float>& samples) {
    double sum = 0;
    for (const float sample : samples) {
        sum += double{sample} * sample;
    }
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

TEST(BuiltInSynthesizerTest, NoteSoundsWithoutAnAudioDevice) {
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    ASSERT_TRUE(synthesizer) << "no SoundFont in /usr/share/sounds/sf2";
    std::vector<float> left(BuiltInSynthesizer::kSampleRate / 5);
    std::vector<float> right(left.size());
    synthesizer->render(left, right);
    EXPECT_LT(rms(left), 1e-4);

    EXPECT_TRUE(synthesizer->send(Bytes{0xC0, 0}));
    EXPECT_TRUE(synthesizer->send(Bytes{0x90, 60, 100}));
    synthesizer->render(left, right);
    EXPECT_GT(rms(left), 3e-3);
    EXPECT_GT(rms(right), 3e-3);

    EXPECT_FALSE(synthesizer->send(Bytes{0x90, 60}));
    EXPECT_TRUE(synthesizer->send(Bytes{0xB0, 123, 0}));
    for (int i = 0; i < 10; ++i) {
        synthesizer->render(left, right);
    }
    EXPECT_LT(rms(left), 1e-4);
}

TEST(BuiltInSynthesizerTest, AFileThatIsNotASoundFontIsRefusedWithoutANoiseOnStderr) {
    const auto synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    ASSERT_TRUE(synthesizer);
    ScratchDir dir;
    ScratchDir::write(dir / "text.sf2", "not a SoundFont");
    ScratchDir::write(dir / "wave.sbk", std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
    for (const char* name : {"text.sf2", "wave.sbk"}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None,
                                               BuiltInSynthesizer::kSampleRate, dir / name));
        EXPECT_FALSE(BuiltInSynthesizer::presetNames(dir / name));
        EXPECT_FALSE(synthesizer->loadSoundFont(dir / name, 1));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << name;
    }
}

TEST(SystemMidiPortsTest, CaptureAndThenTheSynthesizerEndTheOutputsQuietly) {
    ScratchDir dir;
    std::ostringstream complaints;
    std::streambuf* const saved = std::cerr.rdbuf(complaints.rdbuf());
    SystemMidiPorts ports(dir / "capture.txt");
    const std::vector<std::string> outputs = ports.listOutputs();
    ports.listInputs();
    std::cerr.rdbuf(saved);
    EXPECT_EQ(complaints.str(), "");

    ASSERT_GE(outputs.size(), 2u);
    const int last = static_cast<int>(outputs.size()) - 1;
    EXPECT_EQ(outputs[last - 1], "Capture");
    EXPECT_EQ(outputs[last], "Built-in Synthesizer");
    EXPECT_TRUE(ports.isBuiltInSynthesizer(last));
    EXPECT_FALSE(ports.isBuiltInSynthesizer(last - 1));
    EXPECT_TRUE(ports.openOutput(last - 1)->send(Bytes{0xF8}));
    EXPECT_EQ(lines(dir / "capture.txt").size(), 1u);

    SystemMidiPorts withoutCapture({});
    EXPECT_EQ(withoutCapture.listOutputs().back(), "Built-in Synthesizer");
}

}  // namespace

namespace {

// The Replay input plays a capture file back through the input callback, from its own thread,
// each message at its time after the opening; long and unreadable lines are skipped.
TEST(ReplayInputTest, PlaysTheShortMessagesOfACaptureFileAtTheirTimes) {
    ScratchDir dir;
    const auto file = dir / "take.txt";
    std::ofstream(file) << "20000 144 60 100\n"
                           "25000 240 126 1 247\n"  // system exclusive: skipped
                           "26000 240 126 247\n"    // a short one too
                           "not a line\n"
                           "30500 128 60 0\n"
                           "31000 254\n"
                           "60000000 144 62 100\n";  // never reached: the input closes first
    SystemMidiPorts ports("", file);
    const std::vector<std::string> inputs = ports.listInputs();
    ASSERT_FALSE(inputs.empty());
    EXPECT_EQ(inputs.back(), "Replay");

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<MidiInputEvent> events;
    std::vector<std::chrono::microseconds> late;
    const auto opened = std::chrono::steady_clock::now();
    auto input =
        ports.openInput(static_cast<int>(inputs.size()) - 1, [&](const MidiInputEvent& event) {
            const std::lock_guard lock(mutex);
            late.push_back(std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - opened) -
                           std::chrono::milliseconds(event.timestampMs));
            events.push_back(event);
            arrived.notify_all();
        });
    ASSERT_TRUE(input);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(
            arrived.wait_for(lock, std::chrono::seconds(5), [&] { return events.size() == 3; }));
    }
    input.reset();
    const auto device = static_cast<std::uint32_t>(inputs.size() - 1);
    EXPECT_EQ(events, (std::vector<MidiInputEvent>{
                          {device, 20, 0x643C90}, {device, 30, 0x003C80}, {device, 31, 0xFE}}));
    for (const auto lateness : late)
        EXPECT_GE(lateness.count(), 0);
}

}  // namespace
