#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/midi_input.h"

// The "Replay" input: plays a file in the capture port's form back as if a keyboard played it.
// Each line is "<microseconds> <byte> <byte> [<byte>]"; from its opening, a thread of its own
// hands each message to the callback at its time after the opening, with that time in
// milliseconds as its time stamp, and stops at the end of the file. Lines of more than three
// bytes (system-exclusive messages) and lines that do not parse are skipped, as a real port
// drops long input. Tests and demonstrations record through it without a keyboard.
class ReplayInput : public MidiInput {
public:
    static constexpr const char* kName = "Replay";

    struct Line {
        std::uint64_t timeUs;
        std::uint32_t packedMessage;
    };

    // The file named by TOLVAR32_REPLAY; empty when that is unset or empty.
    static std::filesystem::path fileFromEnvironment();
    // The short messages of a capture file, in file order; nothing when it cannot be read.
    static std::vector<Line> read(const std::filesystem::path& file);

    // Starts sending at once. The events carry device.
    ReplayInput(std::vector<Line> lines, std::uint32_t device, Callback callback);
    // Stops the thread, waiting for a running callback to return.
    ~ReplayInput() override;
    ReplayInput(const ReplayInput&) = delete;
    ReplayInput& operator=(const ReplayInput&) = delete;

private:
    void run();

    const std::vector<Line> lines_;
    const std::uint32_t device_;
    const Callback callback_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::thread thread_;
};
