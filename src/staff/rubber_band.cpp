#include "staff/rubber_band.h"

#include <algorithm>

namespace {

// Below the lowest row either view draws.
constexpr int kBelowEveryRow = 2000;

}  // namespace

void RubberBand::press(int x, int y) {
    dragging_ = true;
    rect_ = {x, y, x, y};
}

void RubberBand::dragTo(int x, int y) {
    rect_.right = x;
    rect_.bottom = y;
}

void RubberBand::release(int x, int y, int minLeft) {
    const auto [left, right] = std::minmax(rect_.left, x);
    const auto [top, bottom] = std::minmax(rect_.top, y);
    rect_ = {std::max(left, minLeft), top, right, bottom};
    dragging_ = false;
    armed_ = false;
}

void RubberBand::coverEveryRow() {
    rect_.top = 0;
    rect_.bottom = kBelowEveryRow;
}
