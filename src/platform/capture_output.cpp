#include "platform/capture_output.h"

#include <cstdlib>

std::filesystem::path CaptureOutput::fileFromEnvironment() {
    const char* file = std::getenv("TOLVAR32_CAPTURE");
    return file != nullptr ? file : "";
}

std::unique_ptr<CaptureOutput> CaptureOutput::open(const std::filesystem::path& file) {
    std::FILE* opened = std::fopen(file.c_str(), "a");
    return opened != nullptr ? std::unique_ptr<CaptureOutput>(new CaptureOutput(opened)) : nullptr;
}

CaptureOutput::CaptureOutput(std::FILE* file) : file_(file) {}

CaptureOutput::~CaptureOutput() {
    std::fclose(file_);
}

bool CaptureOutput::close() {
    return std::fflush(file_) == 0 && !std::ferror(file_);
}

bool CaptureOutput::send(std::span<const std::uint8_t> message) {
    const auto sinceOpened = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - openedAt_);
    bool written = std::fprintf(file_, "%lld", static_cast<long long>(sinceOpened.count())) > 0;
    for (const std::uint8_t byte : message) {
        written = std::fprintf(file_, " %d", byte) > 0 && written;
    }
    return std::fputc('\n', file_) != EOF && written;
}
