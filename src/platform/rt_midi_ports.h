#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/midi_input.h"
#include "platform/midi_output.h"

class RtMidi;

// The ports of the system's MIDI service through RtMidi: the ALSA sequencer's, then JACK's
// when a server runs. A machine without either lists no ports.
//
// RtMidi throws when the sequencer device is missing and crashes when its JACK backend opens
// or names a port with no server running; it also writes its complaints to std::cerr. All of
// that stays inside this adapter: nothing is asked of a backend beyond the ports it counts,
// no exception leaves, and nothing reaches the error stream.
class RtMidiPorts {
public:
    std::vector<std::string> listOutputs();
    std::vector<std::string> listInputs();

    // Indexes of the last listing. Null when the port is no longer where it was listed.
    std::shared_ptr<MidiOutput> openOutput(int index);
    std::unique_ptr<MidiInput> openInput(int index, MidiInput::Callback callback);

private:
    struct Port {
        int api;  // an RtMidi::Api
        unsigned number;
        std::string name;
    };

    // Lists the ports of every backend that starts; directionIsInput picks RtMidiIn.
    static std::vector<Port> listPorts(bool directionIsInput);
    static void appendPorts(RtMidi& backend, int api, std::vector<Port>& ports);
    static std::vector<std::string> namesOf(const std::vector<Port>& ports);

    std::vector<Port> outputs_;
    std::vector<Port> inputs_;
};
