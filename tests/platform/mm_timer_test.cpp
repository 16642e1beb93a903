#include "platform/mm_timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr auto kGenerous = std::chrono::seconds(10);

// Collects the ids of fired timers, and the threads they fired on, for the test to wait on.
class FiredTimers {
public:
    Clock::TimerCallback callback() {
        return [this](int timerId) {
            std::lock_guard lock(mutex_);
            ids_.push_back(timerId);
            threads_.push_back(std::this_thread::get_id());
            fired_.notify_all();
        };
    }
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        return fired_.wait_for(lock, kGenerous, [&] { return ids_.size() >= count; });
    }
    std::vector<int> ids() {
        std::lock_guard lock(mutex_);
        return ids_;
    }
    bool noneOn(std::thread::id thread) {
        std::lock_guard lock(mutex_);
        return std::find(threads_.begin(), threads_.end(), thread) == threads_.end();
    }

private:
    std::mutex mutex_;
    std::condition_variable fired_;
    std::vector<int> ids_;
    std::vector<std::thread::id> threads_;
};

TEST(MmTimerTest, TimerFiresOnceWithItsIdOffTheCallingThreadNotBeforeItIsDue) {
    MmTimer timer;
    FiredTimers fired;
    const int once = timer.startTimer(1, fired.callback());
    ASSERT_NE(once, 0);
    // Timers fire in due order, so a one-shot that fired again would show before this one.
    const int later = timer.startTimer(20, fired.callback());
    ASSERT_TRUE(fired.waitFor(2));
    EXPECT_EQ(fired.ids(), (std::vector<int>{once, later}));
    EXPECT_TRUE(fired.noneOn(std::this_thread::get_id()));

    // A timer at a due time fires not before it, and one due in the past at once.
    std::promise<std::uint64_t> firedUs;
    const std::uint64_t dueUs = timer.microseconds() + 20'000;
    timer.startTimerAt(dueUs, [&](int) { firedUs.set_value(timer.microseconds()); });
    const int past = timer.startTimerAt(0, fired.callback());
    ASSERT_TRUE(fired.waitFor(3));
    EXPECT_EQ(fired.ids().back(), past);
    EXPECT_GE(firedUs.get_future().get(), dueUs);
}

TEST(MmTimerTest, KilledTimerNeverFiresAndStrayKillsAreHarmless) {
    MmTimer timer;
    FiredTimers fired;
    // Holds the timer thread in a callback, so nothing behind it can fire before the kill.
    std::promise<void> open;
    timer.startTimer(0, [gate = open.get_future().share()](int) { gate.wait_for(kGenerous); });
    const int killed = timer.startTimer(0, fired.callback());
    timer.killTimer(killed);
    const int kept = timer.startTimer(0, fired.callback());
    open.set_value();
    ASSERT_TRUE(fired.waitFor(1));
    timer.killTimer(kept);
    timer.killTimer(killed);
    timer.killTimer(0);
    timer.killTimer(12345);
    const int after = timer.startTimer(0, fired.callback());
    ASSERT_TRUE(fired.waitFor(2));
    EXPECT_EQ(fired.ids(), (std::vector<int>{kept, after}));
}

TEST(MmTimerTest, TimersFireInOrderOfDueTimeNotOfStart) {
    using std::chrono::steady_clock;
    const std::vector<int> delaysMs = {25, 5, 45, 15, 35, 0, 40, 10, 30, 20};
    MmTimer timer;
    FiredTimers fired;
    std::vector<int> ids;
    // Each timer's due time lies between these, whatever the machine's speed.
    std::vector<steady_clock::time_point> earliestDue, latestDue;
    for (const int delayMs : delaysMs) {
        earliestDue.push_back(steady_clock::now() + std::chrono::milliseconds(delayMs));
        ids.push_back(timer.startTimer(delayMs, fired.callback()));
        latestDue.push_back(steady_clock::now() + std::chrono::milliseconds(delayMs));
    }
    ASSERT_TRUE(fired.waitFor(ids.size()));

    const std::vector<int> order = fired.ids();
    const auto firedAt = [&](std::size_t i) {
        return std::find(order.begin(), order.end(), ids[i]);
    };
    for (std::size_t i = 0; i < ids.size(); ++i) {
        for (std::size_t j = 0; j < ids.size(); ++j) {
            if (latestDue[i] < earliestDue[j]) {
                EXPECT_LT(firedAt(i), firedAt(j)) << delaysMs[i] << " ms before " << delaysMs[j];
            }
        }
    }
}

TEST(MmTimerTest, DestructionDropsPendingTimersWithoutCallingThem) {
    std::atomic<int> calls = 0;
    {
        MmTimer timer;
        for (int i = 0; i < 5; ++i) {
            timer.startTimer(60'000, [&](int) { ++calls; });
        }
    }
    EXPECT_EQ(calls, 0);
}

}  // namespace
