#include "playback/midi_input_queue.h"

bool MidiInputQueue::push(const MidiInputEvent& event) {
    // Acquire: the reader is done with the slot it freed before the count went down.
    if (count_.load(std::memory_order_acquire) == kCapacity) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    const std::size_t head = head_.load(std::memory_order_relaxed);
    events_[head] = event;
    head_.store(head + 1 == kCapacity ? 0 : head + 1, std::memory_order_relaxed);
    // Release: the slot is written before the reader can see it counted.
    count_.fetch_add(1, std::memory_order_release);
    return true;
}

bool MidiInputQueue::pop(MidiInputEvent& event) {
    // Acquire: pairs with the writer's release, so the slot's words are complete.
    if (count_.load(std::memory_order_acquire) == 0) {
        return false;
    }
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    event = events_[tail];
    tail_.store(tail + 1 == kCapacity ? 0 : tail + 1, std::memory_order_relaxed);
    // Release: the slot is read before the writer can see it free.
    count_.fetch_sub(1, std::memory_order_release);
    return true;
}
