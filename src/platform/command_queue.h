#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/command_poster.h"

// The poster of a program without a window: posted commands wait here, in order, until the
// main thread takes them. post() from any thread; take() from the main thread.
class CommandQueue : public CommandPoster {
public:
    struct Command {
        int commandId;
        int param;
    };

    void post(int commandId, int param) noexcept override;

    // The oldest command; waits at most timeout for one, then gives nothing.
    std::optional<Command> take(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Command> commands_;
};
