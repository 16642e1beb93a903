#pragma once

#include <functional>

#include "platform/midi_input_event.h"

// An open MIDI input. From its opening until it is destroyed it hands every short message it
// receives to the callback given at opening, on a thread of its own; system-exclusive,
// timing-clock and active-sensing messages are dropped. Destroying it waits for a running
// callback to return.
class MidiInput {
public:
    // Runs on the input's thread; it must only hand the event on (midiInputCallback).
    using Callback = std::function<void(const MidiInputEvent& event)>;

    virtual ~MidiInput() = default;
};
