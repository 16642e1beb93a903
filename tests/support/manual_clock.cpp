#include "support/manual_clock.h"

#include <algorithm>
#include <utility>

int ManualClock::startTimer(std::uint32_t delayMs, TimerCallback callback) {
    pending_.emplace(nowMs_ + delayMs, Pending{++lastId_, std::move(callback)});
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

void ManualClock::advance(std::uint32_t ms) {
    const std::uint32_t endMs = nowMs_ + ms;
    while (!pending_.empty() && pending_.begin()->first <= endMs) {
        nowMs_ = pending_.begin()->first;
        Pending expired = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        expired.callback(expired.timerId);
    }
    nowMs_ = endMs;
}

std::vector<ManualClock::PendingTimer> ManualClock::pendingTimers() const {
    std::vector<PendingTimer> timers;
    for (const auto& [dueMs, pending] : pending_) {
        timers.push_back({pending.timerId, dueMs});
    }
    return timers;
}
