#pragma once

#include "platform/midi_output.h"

// The output of a device that is not open: it takes every message and sends it nowhere.
class NullMidiOutput : public MidiOutput {
public:
    bool send(std::span<const std::uint8_t>) override { return true; }
};
