#include "staff/print_layout.h"

#include <algorithm>
#include <cstdlib>

#include "model/time_signature.h"

PrintLayout::PrintLayout(bool preview)
    : preview_(preview),
      scale_(preview ? 1 : 2),
      leftOffset_(preview ? 500 : 400),
      noteMargin_(preview ? 500 : 310) {}

int PrintLayout::barLineX(int k) const {
    return 500 * scale_ + static_cast<int>(k * 0.25 * kLineWidth * scale_) + leftOffset_;
}

int PrintLayout::keySignatureX(std::int64_t tick, std::int64_t ticksPerLine) const {
    const PrintLayout printer(false);
    const int printed = printer.printX(tick, 0, ticksPerLine) - printer.leftOffset() + 340;
    return leftOffset_ + (printed - printer.leftOffset()) * scale_ / printer.scale();
}

int PrintLayout::printX(std::int64_t tick, std::int64_t lineStart,
                        std::int64_t ticksPerLine) const {
    const std::int64_t u = ticksPerLine > 0 ? kLineWidth * (tick - lineStart) / ticksPerLine : 0;
    return static_cast<int>(std::llabs(scale_ * (leftOffset_ + noteMargin_ + u)));
}

namespace print_pages {

Position pageOf(int line) {
    if (line < 5) {
        return {1, 1};
    }
    const int page = (line - 5) / 5 + 2;
    return {5 * page - 5, page};
}

int firstLineOfPage(int page) {
    return page <= 1 ? 1 : 5 * page - 5;
}

int lineOfFirstBar(int firstBar) {
    return firstBar / PrintLayout::kBarsPerLine;
}

int nextPageLine(int line) {
    return line + (pageOf(line).page == 1 ? 4 : 5);
}

int previousPageLine(int line) {
    return std::max(1, line - 5);
}

std::int64_t ticksPerLine(int division, const TimeSignature& timing) {
    // Four bars of beatsPerBar beats of a 1/beatUnit note each, in quarters of division
    // ticks. Multiplying before dividing keeps 3/8 and 2/2 exact.
    if (timing.beatUnit <= 0) {
        return 0;
    }
    return std::int64_t{PrintLayout::kBarsPerLine} * division * timing.beatsPerBar * 4 /
           timing.beatUnit;
}

std::int64_t lineStartTick(int line, int division, const TimeSignature& timing) {
    return (line - 1) * ticksPerLine(division, timing);
}

int lineOfTick(std::int64_t tick, int division, const TimeSignature& timing) {
    const std::int64_t perLine = ticksPerLine(division, timing);
    return perLine > 0 ? static_cast<int>(tick / perLine + 1) : 1;
}

}  // namespace print_pages
