#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/built_in_synthesizer.h"
#include "platform/midi_ports.h"

class Clock;

// MIDI ports for tests: outputs and inputs named as the test says, the built-in synthesizer
// where the test puts it. Every output records what is sent to it, with the clock's time. An
// input, once opened, plays what the test scripts from a thread of its own.
class RecordingMidiPorts : public MidiPorts {
public:
    struct Message {
        std::uint64_t timeUs;
        std::vector<std::uint8_t> bytes;
    };

    // builtInIndex: the output that plays the built-in synthesizer, or -1.
    RecordingMidiPorts(const Clock& clock, std::vector<std::string> outputs,
                       std::vector<std::string> inputs = {}, int builtInIndex = -1);

    std::vector<std::string> listOutputs() override { return outputs_; }
    std::vector<std::string> listInputs() override { return inputs_; }
    bool isBuiltInSynthesizer(int outputIndex) const override {
        return outputIndex == builtInIndex_;
    }
    // Null while refuseOpen is set.
    std::shared_ptr<MidiOutput> openOutput(int index) override;
    // Null while refuseOpen is set.
    std::unique_ptr<MidiInput> openInput(int index, MidiInput::Callback callback) override;
    // Hands events to the open input's callback from a new thread, as a keyboard's driver
    // does, and returns when that thread has ended.
    void playInput(const std::vector<MidiInputEvent>& events);
    std::shared_ptr<BuiltInSynthesizer> builtInSynthesizer() override { return synthesizer; }

    // The messages sent so far, and their bytes alone.
    std::vector<std::vector<std::uint8_t>> sentBytes() const;

    bool refuseOpen = false;
    // Sends fail while set.
    bool refuseSend = false;
    // Sends of this kind of message (0xB0: control changes) fail; 0 refuses none.
    std::uint8_t refuseKind = 0;
    // Closing fails while set.
    bool refuseClose = false;
    // Inputs open now.
    int inputsOpen = 0;
    // The outputs opened, by index, in order.
    std::vector<int> opened;
    std::vector<Message> sent;
    // Called after each message is recorded: a test makes a send take time.
    std::function<void()> onSend;
    // What builtInSynthesizer() gives: none unless the test starts one.
    std::shared_ptr<BuiltInSynthesizer> synthesizer;

private:
    const Clock& clock_;
    std::vector<std::string> outputs_;
    std::vector<std::string> inputs_;
    int builtInIndex_;
    // The callback of the input open now.
    MidiInput::Callback inputCallback_;
};
