#pragma once

#include <cstdint>
#include <functional>

// Time and one-shot timers for the playback engine. The program uses the real clock
// (MmTimer); tests use a clock they move by hand, so that timing code runs without waiting.
class Clock {
public:
    // Called once when its timer expires, with the timer's id. Where it runs is up to the
    // implementation; it must not throw.
    using TimerCallback = std::function<void(int timerId)>;

    virtual ~Clock() = default;

    // Milliseconds since a fixed point in the past, wrapping modulo 2^32 (after 49.7 days):
    // only differences taken in unsigned arithmetic are meaningful. Any thread.
    virtual std::uint32_t milliseconds() const = 0;

    // The same clock in microseconds: milliseconds() is this value / 1000, cut to 32 bits.
    // It does not wrap in practice. Any thread.
    virtual std::uint64_t microseconds() const = 0;

    // Arms a one-shot timer that calls callback once, delayMs after now (0 means as soon as
    // possible). Returns the timer's id, never 0, or 0 when no timer could be armed (the
    // callback is then never called). Ids are positive and not reused while the timer is
    // pending.
    virtual int startTimer(std::uint32_t delayMs, TimerCallback callback) = 0;

    // The same, for a timer due at dueUs on the microseconds() scale: a schedule kept in
    // absolute times loses nothing to delays cut to whole milliseconds. A due time already
    // past fires as soon as possible.
    virtual int startTimerAt(std::uint64_t dueUs, TimerCallback callback) = 0;

    // Returns at time us on the microseconds() scale, at once when that is past. A real clock
    // watches the time awake for this: it is for the last moments before a due time, which a
    // thread woken from sleep might miss.
    virtual void waitUntil(std::uint64_t us) = 0;

    // Disarms a pending timer: its callback will not be called. An id that has already
    // fired, was killed, or was never given (0 included) is ignored.
    virtual void killTimer(int timerId) = 0;
};
