#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/built_in_synthesizer.h"
#include "platform/midi_ports.h"
#include "platform/rt_midi_ports.h"

// The machine's MIDI ports as the program offers them. Outputs: the system's ports, then
// "Capture" when a capture file is given, then the built-in synthesizer, always listed last
// (whether it can start shows only when it is opened). Inputs: the system's ports, then
// "Replay" when a file to replay is given.
class SystemMidiPorts : public MidiPorts {
public:
    static constexpr const char* kCaptureName = "Capture";

    // captureFile: where the "Capture" output writes; empty for no such output. replayFile:
    // what the "Replay" input plays (ReplayInput); empty for no such input.
    explicit SystemMidiPorts(std::filesystem::path captureFile,
                             std::filesystem::path replayFile = {});

    std::vector<std::string> listOutputs() override;
    std::vector<std::string> listInputs() override;
    bool isBuiltInSynthesizer(int outputIndex) const override;
    std::shared_ptr<MidiOutput> openOutput(int index) override;
    std::unique_ptr<MidiInput> openInput(int index, MidiInput::Callback callback) override;
    std::shared_ptr<BuiltInSynthesizer> builtInSynthesizer() override;

private:
    RtMidiPorts system_;
    int systemOutputCount_ = 0;
    std::filesystem::path captureFile_;
    int systemInputCount_ = 0;
    std::filesystem::path replayFile_;
    // Started at its first opening and kept from then on: notes released when a play ends
    // ring out, and the next play starts without loading the SoundFont again.
    std::shared_ptr<BuiltInSynthesizer> synthesizer_;
};
