#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/capture_output.h"
#include "platform/midi_ports.h"

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
