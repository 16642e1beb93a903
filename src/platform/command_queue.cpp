#include "platform/command_queue.h"

#include <new>

void CommandQueue::post(int commandId, int param) noexcept {
    try {
        std::lock_guard lock(mutex_);
        commands_.push_back({commandId, param});
    } catch (const std::bad_alloc&) {
        return;
    }
    posted_.notify_one();
}

std::optional<CommandQueue::Command> CommandQueue::take(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_for(lock, timeout, [this] { return !commands_.empty(); })) {
        return std::nullopt;
    }
    const Command next = commands_.front();
    commands_.pop_front();
    return next;
}
