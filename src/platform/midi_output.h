#pragma once

#include <cstdint>
#include <span>

// An open MIDI output: a port of the system's MIDI service, the built-in synthesizer or the
// capture file. MidiPorts opens it; it closes when its last owner lets go. One thread at a
// time uses it.
class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    // Sends one whole message: a status byte and its data bytes, or a system-exclusive message
    // from 0xF0 to 0xF7. False when the output refused it; never throws.
    virtual bool send(std::span<const std::uint8_t> message) = 0;

    // Ends this opening: whatever was sent is delivered (a file is flushed, a port closed).
    // False when that failed; the output is not used again either way.
    virtual bool close() { return true; }
};
