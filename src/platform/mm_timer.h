#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

#include "platform/clock.h"

// The real clock: the steady clock in milliseconds, and one-shot timers served by one timer
// thread of its own. Callbacks run on that thread, one at a time, in order of their due time
// (timers due at the same moment in the order they were started); they should only hand work
// to another thread, since a slow callback delays every timer behind it.
//
// No timer period needs requesting. The thread sleeps until shortly before the earliest due
// time on the steady clock and waits out the last fraction of a millisecond awake, since
// waking from sleep takes about that long, so a timer fires within microseconds of its due
// time on an idle machine. Where the system allows it the thread runs at a low real-time
// priority, so that busy ordinary threads cannot delay it either.
//
// All members may be called from any thread, callbacks included. The destructor drops the
// pending timers without calling them and waits for a running callback to return, so it must
// not run on the timer thread itself.
class MmTimer : public Clock {
public:
    MmTimer();
    ~MmTimer() override;
    MmTimer(const MmTimer&) = delete;
    MmTimer& operator=(const MmTimer&) = delete;

    std::uint32_t milliseconds() const override;
    std::uint64_t microseconds() const override;
    // Both return 0 when the timer thread could not be started or memory ran out.
    int startTimer(std::uint32_t delayMs, TimerCallback callback) override;
    int startTimerAt(std::uint64_t dueUs, TimerCallback callback) override;
    // A timer whose callback has begun has fired: killing it then neither stops nor waits
    // for the callback.
    void killTimer(int timerId) override;
    void waitUntil(std::uint64_t us) override;

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Pending {
        int timerId;
        TimerCallback callback;
    };

    int arm(TimePoint due, TimerCallback callback);
    void run();
    // The first free id after the last one given; the caller holds mutex_.
    int nextFreeId();

    std::mutex mutex_;
    std::condition_variable wake_;
    // Ordered by due time; equal due times keep their insertion order.
    std::multimap<TimePoint, Pending> pending_;
    int lastId_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};
