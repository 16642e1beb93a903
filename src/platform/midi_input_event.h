#pragma once

#include <cstdint>

// One short message received while recording, as the input callback queues it.
struct MidiInputEvent {
    // The input device the recording opened.
    std::uint32_t device = 0;
    // Milliseconds since input started, as the device delivered it.
    std::uint32_t timestampMs = 0;
    // Status in the low byte, then the first and the second data byte.
    std::uint32_t packedMessage = 0;

    bool operator==(const MidiInputEvent&) const = default;
};
