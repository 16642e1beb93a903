#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/midi_ports.h"

// The ports of a play that is rendered rather than heard: one output, listed as the built-in
// synthesizer (whose voices need no initial settings), and no inputs.
class RenderPorts : public MidiPorts {
public:
    explicit RenderPorts(std::shared_ptr<MidiOutput> output) : output_(std::move(output)) {}

    std::vector<std::string> listOutputs() override { return {kBuiltInSynthesizerName}; }
    std::vector<std::string> listInputs() override { return {}; }
    bool isBuiltInSynthesizer(int outputIndex) const override { return outputIndex == 0; }
    std::shared_ptr<MidiOutput> openOutput(int index) override {
        return index == 0 ? output_ : nullptr;
    }
    std::unique_ptr<MidiInput> openInput(int, MidiInput::Callback) override { return nullptr; }

private:
    std::shared_ptr<MidiOutput> output_;
};
