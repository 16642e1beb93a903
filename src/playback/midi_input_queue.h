#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/midi_input_event.h"

// The circular queue that carries recorded input from the MIDI input thread to the window
// thread, one per recording. Exactly one thread pushes (the input callback) and exactly one
// pops (the window thread); neither locks or waits. Only the count is changed by both sides:
// its release/acquire pairs hand each slot from the writer to the reader and back.
class MidiInputQueue {
public:
    static constexpr std::size_t kCapacity = 2400;

    // Producer thread only. Appends event at the head and returns true; when all 2400 slots
    // are waiting, drops event instead, counts it in dropped() and returns false. Dropping
    // the newest keeps what was played first, so the notes already queued stay whole and
    // their order is never broken.
    bool push(const MidiInputEvent& event);

    // Consumer thread only. Takes the event at the tail into event and returns true, or
    // returns false, leaving event alone, when nothing is waiting.
    bool pop(MidiInputEvent& event);

    // Events dropped because the queue was full, since it was made. Any thread.
    std::uint32_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

private:
    std::array<MidiInputEvent, kCapacity> events_{};
    // Written and read by the producer only; the count publishes its slots.
    std::atomic<std::size_t> head_ = 0;
    // Written and read by the consumer only; the count publishes the slots it frees.
    std::atomic<std::size_t> tail_ = 0;
    std::atomic<std::size_t> count_ = 0;
    std::atomic<std::uint32_t> dropped_ = 0;
};
