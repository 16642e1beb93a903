#include "support/manual_clock.h"

#include <algorithm>
#include <utility>

int ManualClock::startTimer(std::uint32_t delayMs, TimerCallback callback) {
    return startTimerAt(nowUs_ + std::uint64_t{delayMs} * 1000, std::move(callback));
}

int ManualClock::startTimerAt(std::uint64_t dueUs, TimerCallback callback) {
    pending_.emplace(std::max(dueUs, nowUs_), Pending{++lastId_, std::move(callback)});
    return lastId_;
}

void ManualClock::killTimer(int timerId) {
    const auto found = std::find_if(pending_.begin(), pending_.end(), [timerId](const auto& entry) {
        return entry.second.timerId == timerId;
    });
    if (found != pending_.end()) {
        pending_.erase(found);
    }
}

void ManualClock::advanceUs(std::uint64_t us) {
    const std::uint64_t endUs = nowUs_ + us;
    while (!pending_.empty() && pending_.begin()->first <= endUs) {
        nowUs_ = pending_.begin()->first;
        Pending expired = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        expired.callback(expired.timerId);
    }
    nowUs_ = endUs;
}

std::vector<ManualClock::PendingTimer> ManualClock::pendingTimers() const {
    std::vector<PendingTimer> timers;
    for (const auto& [dueUs, pending] : pending_) {
        timers.push_back({pending.timerId, dueUs});
    }
    return timers;
}
