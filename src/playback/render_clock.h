#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"

// A clock for playing faster than real time: time stands still until fireNext() moves it to
// the earliest pending timer's due time and calls that timer. waitUntil() moves it forward
// at once. It starts at 0. One thread only.
class RenderClock : public Clock {
public:
    std::uint32_t milliseconds() const override;
    std::uint64_t microseconds() const override { return nowUs_; }
    int startTimer(std::uint32_t delayMs, TimerCallback callback) override;
    int startTimerAt(std::uint64_t dueUs, TimerCallback callback) override;
    void waitUntil(std::uint64_t us) override;
    void killTimer(int timerId) override;

    // Fires the earliest pending timer (the first armed among equals). False when none is
    // pending.
    bool fireNext();

private:
    struct Timer {
        int id;
        std::uint64_t dueUs;
        TimerCallback callback;
    };

    std::uint64_t nowUs_ = 0;
    int lastId_ = 0;
    std::vector<Timer> pending_;
};
