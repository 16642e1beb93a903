#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/capture_output.h"
#include "platform/command_queue.h"
#include "platform/midi_ports.h"
#include "platform/mm_timer.h"
#include "platform/null_ui.h"
#include "playback/midi_device.h"
#include "playback/player.h"

// The capture port alone, kept at hand so its opening time can be read.
class CapturePort : public MidiPorts {
public:
    explicit CapturePort(std::filesystem::path file) : file_(std::move(file)) {}

    std::vector<std::string> listOutputs() override { return {"Capture"}; }
    std::vector<std::string> listInputs() override { return {}; }
    bool isBuiltInSynthesizer(int) const override { return false; }
    std::shared_ptr<MidiOutput> openOutput(int) override {
        std::shared_ptr<CaptureOutput> output = CaptureOutput::open(file_);
        if (output) {
            const auto sinceEpoch = output->openedAt().time_since_epoch();
            openedAtUs_ = static_cast<std::uint64_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count());
        }
        return output;
    }
    std::unique_ptr<MidiInput> openInput(int, MidiInput::Callback) override { return nullptr; }

    // When the last opening began, on the clock of MmTimer::microseconds.
    std::uint64_t openedAtUs() const { return openedAtUs_; }

private:
    std::filesystem::path file_;
    std::uint64_t openedAtUs_ = 0;
};

// The times of a capture file's messages, microseconds from the port's opening.
inline std::vector<std::uint64_t> captureTimes(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::uint64_t> times;
    for (std::string line; std::getline(in, line);) {
        times.push_back(std::stoull(line));
    }
    return times;
}

// A player whose output is the capture port alone, on the real timer: what `tolvar32 --play`
// plays through, logged to a fresh file.
struct CapturedPlayer {
    explicit CapturedPlayer(const std::filesystem::path& captureFile)
        : file((std::filesystem::remove(captureFile), captureFile)),
          port(file),
          device(port, ui),
          player(device, clock, commands, ui) {
        device.listOutputs();
        device.selectOutputByName("Capture", -1);
    }

    std::filesystem::path file;
    NullUi ui;
    CapturePort port;
    MidiDevice device;
    MmTimer clock;
    CommandQueue commands;
    Player player;
};
