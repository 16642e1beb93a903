#include "platform/replay_input.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

std::filesystem::path ReplayInput::fileFromEnvironment() {
    const char* file = std::getenv("TOLVAR32_REPLAY");
    return file != nullptr ? file : "";
}

std::vector<ReplayInput::Line> ReplayInput::read(const std::filesystem::path& file) {
    std::vector<Line> lines;
    std::ifstream in(file);
    std::string text;
    while (std::getline(in, text)) {
        std::istringstream fields(text);
        Line line{0, 0};
        unsigned byte = 0;
        int count = 0;
        if (!(fields >> line.timeUs)) {
            continue;
        }
        while (fields >> byte && byte <= 0xFF && count < 4) {
            line.packedMessage |= std::uint32_t{byte} << (8 * count++);
        }
        const std::uint32_t status = line.packedMessage & 0xFF;
        const bool systemExclusive = status == 0xF0 || status == 0xF7;
        if (fields.eof() && (status & 0x80) != 0 && count <= 3 && !systemExclusive) {
            lines.push_back(line);
        }
    }
    return lines;
}

ReplayInput::ReplayInput(std::vector<Line> lines, std::uint32_t device, Callback callback)
    : lines_(std::move(lines)),
      device_(device),
      callback_(std::move(callback)),
      thread_([this] { run(); }) {}

ReplayInput::~ReplayInput() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    thread_.join();
}

void ReplayInput::run() {
    const auto start = std::chrono::steady_clock::now();
    for (const Line& line : lines_) {
        {
            std::unique_lock lock(mutex_);
            if (stopped_.wait_until(lock, start + std::chrono::microseconds(line.timeUs),
                                    [this] { return stopping_; })) {
                return;
            }
        }
        callback_({device_, static_cast<std::uint32_t>(line.timeUs / 1000), line.packedMessage});
    }
}
