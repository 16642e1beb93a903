#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/clock.h"

// A clock for tests that moves only when told to. Time starts at 0; timers fire inside
// advance(), on the calling thread, so a test sees every expiry in order without waiting.
// One thread only.
class ManualClock : public Clock {
public:
    struct PendingTimer {
        int timerId;
        std::uint32_t dueMs;
    };

    std::uint32_t milliseconds() const override { return nowMs_; }
    // Ids count 1, 2, 3... in the order timers are started.
    int startTimer(std::uint32_t delayMs, TimerCallback callback) override;
    void killTimer(int timerId) override;

    // Moves time forward by ms, firing every timer that falls due on the way in order of due
    // time (equal due times in the order started). While a callback runs, milliseconds() reads
    // its due time; timers it starts fire in the same call when they fall due within it.
    void advance(std::uint32_t ms);

    // The timers armed and not yet fired or killed, the earliest first.
    std::vector<PendingTimer> pendingTimers() const;

private:
    struct Pending {
        int timerId;
        TimerCallback callback;
    };

    std::uint32_t nowMs_ = 0;
    int lastId_ = 0;
    // Keyed by due time; equal keys keep their insertion order.
    std::multimap<std::uint32_t, Pending> pending_;
};
