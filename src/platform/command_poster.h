#pragma once

// Hands a command to the window thread, where it runs later like a menu command with its
// parameter. Commands posted from one thread run in the order they were posted.
class CommandPoster {
public:
    virtual ~CommandPoster() = default;

    // Safe from any thread; returns without waiting for the command to run. A command that
    // cannot be queued (no memory) is lost rather than reported, since the callers run on
    // threads that can do nothing about it.
    virtual void post(int commandId, int param) noexcept = 0;
};
