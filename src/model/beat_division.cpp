#include "model/beat_division.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/time_signature.h"

namespace {

constexpr std::int64_t kMaxBar = 2000;

// A decimal number as the C library's atoi reads it (leading blanks, a sign, digits up to the
// first non-digit, none at all is 0), saturating instead of overflowing.
std::int64_t leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{1} << 40;
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    }
    return negative ? -value : value;
}

}  // namespace

std::string formatBeatDivision(std::uint32_t time, int beatsPerBar, int division) {
    const std::uint32_t barLength =
        static_cast<std::uint32_t>(beatsPerBar) * static_cast<std::uint32_t>(division);
    if (barLength == 0) {
        return "0:" + std::to_string(time);
    }
    return std::to_string(time / barLength) + ":" + std::to_string(time % barLength);
}

BeatDivisionTime parseBeatDivision(std::string_view text, int beatsPerBar, int division) {
    const auto refuse = [](const char* message) { return BeatDivisionTime{0, message}; };
    if (beatsPerBar <= 0 || division <= 0) {
        return refuse("Invalid - Could not Convert from Beat:Division");
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return refuse("Invalid - Format is Beat:Division");
    }
    const std::int64_t bar = leadingNumber(text.substr(0, colon));
    if (bar > kMaxBar) {
        return refuse("Invalid Bar (0-2000)");
    }
    const std::int64_t offset = leadingNumber(text.substr(colon + 1));
    const std::int64_t time = bar * beatsPerBar * division + offset;
    // Anything that reads as tick 0 must say so: "0:0" (or "0:00"), not "x:y" or " 0:0".
    if (time == 0 && text.substr(0, 3) != "0:0") {
        return refuse("Invalid - Could not Convert from Beat:Division");
    }
    if (time < 0) {
        return refuse("Invalid - Negative beat");
    }
    if (time > std::numeric_limits<std::int32_t>::max()) {
        return refuse("Invalid - Could not Convert from Beat:Division");
    }
    return {static_cast<std::int32_t>(time), nullptr};
}

double exactBarTicks(const TimeSignature& timing, int division) {
    if (division <= 0 || timing.beatsPerBar <= 0 || timing.beatUnit <= 0) {
        return 0;
    }
    // With a beat unit that is a power of two this is exact in double.
    return static_cast<double>(timing.beatsPerBar) * division / (timing.beatUnit / 4.0);
}

int barLengthTicks(const TimeSignature& timing, int division) {
    const double ticks = std::trunc(exactBarTicks(timing, division));
    return static_cast<int>(std::min(ticks, double{std::numeric_limits<int>::max()}));
}
