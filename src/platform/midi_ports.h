#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/midi_input.h"
#include "platform/midi_output.h"

class BuiltInSynthesizer;

// The name under which the built-in synthesizer is listed and stored in the settings.
inline constexpr const char* kBuiltInSynthesizerName = "Built-in Synthesizer";

// The MIDI ports of the machine, as the Configuration dialog lists them. Listing again
// refreshes the lists; indexes always refer to the last listing. Window thread only.
class MidiPorts {
public:
    virtual ~MidiPorts() = default;

    // The output names, the built-in synthesizer last.
    virtual std::vector<std::string> listOutputs() = 0;
    virtual std::vector<std::string> listInputs() = 0;

    virtual bool isBuiltInSynthesizer(int outputIndex) const = 0;

    // Null when the port is gone since the listing or cannot be opened. Opening the same
    // output twice may give the same object.
    virtual std::shared_ptr<MidiOutput> openOutput(int index) = 0;
    // The events carry index as their device.
    virtual std::unique_ptr<MidiInput> openInput(int index, MidiInput::Callback callback) = 0;
    // The built-in synthesizer, started when it is not yet running; null when it cannot
    // start or the ports have none.
    virtual std::shared_ptr<BuiltInSynthesizer> builtInSynthesizer() { return nullptr; }
};
