#include "platform/mm_timer.h"

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

#include <algorithm>
#include <limits>
#include <new>
#include <system_error>
#include <utility>

namespace {

// How long before a due time the thread stops sleeping and watches the clock instead: more
// than a wake-up from sleep usually takes, little enough to cost no noticeable processor time.
constexpr std::chrono::microseconds kAwakeBeforeDue{250};

// Real-time priority for the timer thread where the user may have it (root, or a member of
// a group given "rtprio" in the system's limits, as audio users usually are): ordinary
// threads then never make a timer late. Low among real-time priorities, so that the sound
// server's and synthesizer's audio threads still come first.
constexpr int kRealTimePriority = 10;

void raisePriority() {
    sched_param parameter{};
    parameter.sched_priority = kRealTimePriority;
    // Refused without the permission: the thread then keeps its ordinary priority.
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameter);
}

}  // namespace

MmTimer::MmTimer() {
    try {
        thread_ = std::thread(&MmTimer::run, this);
    } catch (const std::system_error&) {
        // Without its thread the clock still reads; every startTimer reports failure.
    }
}

MmTimer::~MmTimer() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

std::uint32_t MmTimer::milliseconds() const {
    return static_cast<std::uint32_t>(microseconds() / 1000);
}

std::uint64_t MmTimer::microseconds() const {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count());
}

void MmTimer::waitUntil(std::uint64_t us) {
    // No yield in the loop: yielding lets a busy thread of the same priority run for a whole
    // time slice, some milliseconds, however soon the wait should end.
    while (microseconds() < us) {
    }
}

int MmTimer::startTimer(std::uint32_t delayMs, TimerCallback callback) {
    return arm(std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs),
               std::move(callback));
}

int MmTimer::startTimerAt(std::uint64_t dueUs, TimerCallback callback) {
    return arm(TimePoint(std::chrono::microseconds(dueUs)), std::move(callback));
}

int MmTimer::arm(TimePoint due, TimerCallback callback) {
    if (!thread_.joinable() || !callback) {
        return 0;
    }
    int timerId = 0;
    try {
        std::lock_guard lock(mutex_);
        timerId = nextFreeId();
        pending_.emplace(due, Pending{timerId, std::move(callback)});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // The new timer may be due before the one the thread sleeps for.
    wake_.notify_one();
    return timerId;
}

void MmTimer::killTimer(int timerId) {
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(pending_.begin(), pending_.end(), [timerId](const auto& entry) {
        return entry.second.timerId == timerId;
    });
    if (found != pending_.end()) {
        pending_.erase(found);
    }
}

int MmTimer::nextFreeId() {
    // Only after 2^31 timers can the count come round to an id still pending.
    do {
        lastId_ = lastId_ == std::numeric_limits<int>::max() ? 1 : lastId_ + 1;
    } while (std::any_of(pending_.begin(), pending_.end(),
                         [this](const auto& entry) { return entry.second.timerId == lastId_; }));
    return lastId_;
}

void MmTimer::run() {
    // Sleeps end when asked for, not up to 50 us later as the system would otherwise allow.
    prctl(PR_SET_TIMERSLACK, 1);
    raisePriority();
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_.empty()) {
            wake_.wait(lock);
            continue;
        }
        // A copy: the first timer may be killed while the thread sleeps for it.
        const TimePoint due = pending_.begin()->first;
        const TimePoint now = std::chrono::steady_clock::now();
        if (now + kAwakeBeforeDue < due) {
            wake_.wait_until(lock, due - kAwakeBeforeDue);
            continue;
        }
        if (now < due) {
            // Unlocked, so that timers can be started and killed meanwhile; the loop then
            // looks again at what is due first.
            lock.unlock();
            while (std::chrono::steady_clock::now() < due) {
            }
            lock.lock();
            continue;
        }
        Pending expired = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        // Unlocked, so the callback may start and kill timers.
        lock.unlock();
        expired.callback(expired.timerId);
        lock.lock();
    }
}
