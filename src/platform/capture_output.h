#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/midi_output.h"

// The capture port: an output that writes each message to a text file, one line per message:
// the microseconds since the port opened (steady clock), then the message's bytes in decimal,
// all separated by blanks ("1500 144 60 100"). Each opening appends to the file and counts
// its times from 0 again. Tests and benchmarks read it; a user can see what a song sends.
class CaptureOutput : public MidiOutput {
public:
    // The file named by TOLVAR32_CAPTURE; empty when that is unset or empty.
    static std::filesystem::path fileFromEnvironment();

    // Null when the file cannot be opened for appending.
    static std::unique_ptr<CaptureOutput> open(const std::filesystem::path& file);

    ~CaptureOutput() override;
    CaptureOutput(const CaptureOutput&) = delete;
    CaptureOutput& operator=(const CaptureOutput&) = delete;

    // False when the line could not be written.
    bool send(std::span<const std::uint8_t> message) override;
    // False when the lines could not all be written out.
    bool close() override;

    // The moment the times count from.
    std::chrono::steady_clock::time_point openedAt() const { return openedAt_; }

private:
    explicit CaptureOutput(std::FILE* file);

    std::FILE* file_;
    const std::chrono::steady_clock::time_point openedAt_ = std::chrono::steady_clock::now();
};
