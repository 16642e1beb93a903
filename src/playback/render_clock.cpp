#include "playback/render_clock.h"

#include <algorithm>
#include <utility>

std::uint32_t RenderClock::milliseconds() const {
    return static_cast<std::uint32_t>(nowUs_ / 1000);
}

int RenderClock::startTimer(std::uint32_t delayMs, TimerCallback callback) {
    return startTimerAt(nowUs_ + std::uint64_t{delayMs} * 1000, std::move(callback));
}

int RenderClock::startTimerAt(std::uint64_t dueUs, TimerCallback callback) {
    pending_.push_back({++lastId_, std::max(dueUs, nowUs_), std::move(callback)});
    return lastId_;
}

void RenderClock::waitUntil(std::uint64_t us) {
    nowUs_ = std::max(nowUs_, us);
}

void RenderClock::killTimer(int timerId) {
    std::erase_if(pending_, [timerId](const Timer& timer) { return timer.id == timerId; });
}

bool RenderClock::fireNext() {
    if (pending_.empty()) {
        return false;
    }
    const auto earliest =
        std::min_element(pending_.begin(), pending_.end(),
                         [](const Timer& a, const Timer& b) { return a.dueUs < b.dueUs; });
    Timer timer = std::move(*earliest);
    pending_.erase(earliest);
    nowUs_ = timer.dueUs;
    timer.callback(timer.id);
    return true;
}
