#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/clock.h"

// A clock for tests that moves only when told to. Time starts at 0 and counts microseconds;
// timers fire inside advance(), on the calling thread, so a test sees every expiry in order
// without waiting. One thread only.
class ManualClock : public Clock {
public:
    struct PendingTimer {
        int timerId;
        std::uint64_t dueUs;
    };

    std::uint32_t milliseconds() const override {
        return static_cast<std::uint32_t>(nowUs_ / 1000);
    }
    std::uint64_t microseconds() const override { return nowUs_; }
    // Ids count 1, 2, 3... in the order timers are started.
    int startTimer(std::uint32_t delayMs, TimerCallback callback) override;
    int startTimerAt(std::uint64_t dueUs, TimerCallback callback) override;
    void killTimer(int timerId) override;
    // Moves time on to us, as advanceUs does.
    void waitUntil(std::uint64_t us) override {
        if (us > nowUs_) advanceUs(us - nowUs_);
    }

    // Moves time forward by ms, firing every timer that falls due on the way in order of due
    // time (equal due times in the order started). While a callback runs, the clock reads
    // its due time; timers it starts fire in the same call when they fall due within it.
    void advance(std::uint32_t ms) { advanceUs(std::uint64_t{ms} * 1000); }
    void advanceUs(std::uint64_t us);

    // The timers armed and not yet fired or killed, the earliest first.
    std::vector<PendingTimer> pendingTimers() const;

private:
    struct Pending {
        int timerId;
        TimerCallback callback;
    };

    std::uint64_t nowUs_ = 0;
    int lastId_ = 0;
    // Keyed by due time; equal keys keep their insertion order.
    std::multimap<std::uint64_t, Pending> pending_;
};
