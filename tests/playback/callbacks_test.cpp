#include "playback/callbacks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/command_poster.h"
#include "playback/midi_input_queue.h"
#include "support/manual_clock.h"

namespace {

using Post = std::pair<int, int>;  // command id, parameter

// Stands in for the main window: keeps posts in order until the "window thread" takes them.
class PostBox : public CommandPoster {
public:
    void post(int commandId, int param) noexcept override {
        std::lock_guard lock(mutex_);
        posts_.emplace_back(commandId, param);
        posted_.notify_one();
    }
    std::optional<Post> take() {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, std::chrono::seconds(10), [&] { return !posts_.empty(); })) {
            return std::nullopt;
        }
        const Post next = posts_.front();
        posts_.pop_front();
        return next;
    }
    std::vector<Post> all() {
        std::lock_guard lock(mutex_);
        return {posts_.begin(), posts_.end()};
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Post> posts_;
};

MidiInputEvent noteOn(std::uint32_t timestampMs) {
    return {3, timestampMs, 0x7F3C90};
}

std::vector<MidiInputEvent> drain(MidiInputQueue& queue) {
    std::vector<MidiInputEvent> events;
    for (MidiInputEvent event; queue.pop(event);) {
        events.push_back(event);
    }
    return events;
}

TEST(TimerCallbackTest, EachExpiryPostsPlayStepWithItsOwnTimerId) {
    PostBox window;
    ManualClock clock;
    const auto callback = [&](int timerId) { timerCallback(window, timerId); };
    const int late = clock.startTimer(30, callback);
    const int killed = clock.startTimer(20, callback);
    const int early = clock.startTimer(10, callback);
    clock.killTimer(killed);
    clock.advance(30);
    EXPECT_EQ(window.all(), (std::vector<Post>{{509, early}, {509, late}}));
    EXPECT_TRUE(clock.pendingTimers().empty());
}

TEST(MidiInputCallbackTest, FullQueueDropsTheNewestAndCountsItAFreedSlotWrapsRound) {
    PostBox window;
    MidiInputQueue queue;
    for (std::uint32_t ms = 0; ms < 2402; ++ms) {
        midiInputCallback(window, queue, noteOn(ms));
    }
    EXPECT_EQ(window.all().size(), 2400u);
    EXPECT_EQ(queue.dropped(), 2u);

    MidiInputEvent oldest;
    ASSERT_TRUE(queue.pop(oldest));
    EXPECT_EQ(oldest, noteOn(0));
    midiInputCallback(window, queue, noteOn(9000));  // into the first slot again
    const std::vector<MidiInputEvent> events = drain(queue);
    ASSERT_EQ(events.size(), 2400u);
    for (std::uint32_t i = 0; i < 2399; ++i) {
        ASSERT_EQ(events[i], noteOn(i + 1));
    }
    EXPECT_EQ(events[2399], noteOn(9000));
}

TEST(MidiInputCallbackTest, InputFromItsOwnThreadArrivesWholeAndInOrderWhileTheWindowDrains) {
    constexpr int kDone = -1;
    constexpr std::uint32_t kInputs = 20'000;  // round the 2400 slots many times
    PostBox window;
    MidiInputQueue queue;
    std::atomic<std::uint32_t> taken = 0;
    std::atomic<bool> windowGone = false;
    std::thread input([&] {
        for (std::uint32_t ms = 0; ms < kInputs; ++ms) {
            // Plays no faster than the window takes, so no input is dropped.
            while (ms - taken >= 2000 && !windowGone) {
                std::this_thread::yield();
            }
            midiInputCallback(window, queue, {ms % 7, ms, ms * 3});
        }
        window.post(kDone, 0);
    });

    std::vector<MidiInputEvent> received;
    for (std::optional<Post> post = window.take(); post && post->first != kDone;
         post = window.take()) {
        EXPECT_EQ(post->first, 1024);
        const std::vector<MidiInputEvent> drained = drain(queue);
        received.insert(received.end(), drained.begin(), drained.end());
        taken = static_cast<std::uint32_t>(received.size());
    }
    windowGone = true;
    input.join();

    EXPECT_EQ(queue.dropped(), 0u);
    ASSERT_EQ(received.size(), kInputs);
    for (std::uint32_t ms = 0; ms < kInputs; ++ms) {
        ASSERT_EQ(received[ms], (MidiInputEvent{ms % 7, ms, ms * 3}));
    }
}

}  // namespace
