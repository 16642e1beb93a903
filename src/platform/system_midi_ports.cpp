#include "platform/system_midi_ports.h"

#include <utility>

#include "platform/capture_output.h"
#include "platform/replay_input.h"

SystemMidiPorts::SystemMidiPorts(std::filesystem::path captureFile,
                                 std::filesystem::path replayFile)
    : captureFile_(std::move(captureFile)), replayFile_(std::move(replayFile)) {}

std::vector<std::string> SystemMidiPorts::listOutputs() {
    std::vector<std::string> names = system_.listOutputs();
    systemOutputCount_ = static_cast<int>(names.size());
    if (!captureFile_.empty()) {
        names.emplace_back(kCaptureName);
    }
    names.emplace_back(kBuiltInSynthesizerName);
    return names;
}

std::vector<std::string> SystemMidiPorts::listInputs() {
    std::vector<std::string> names = system_.listInputs();
    systemInputCount_ = static_cast<int>(names.size());
    if (!replayFile_.empty()) {
        names.emplace_back(ReplayInput::kName);
    }
    return names;
}

bool SystemMidiPorts::isBuiltInSynthesizer(int outputIndex) const {
    return outputIndex == systemOutputCount_ + (captureFile_.empty() ? 0 : 1);
}

std::shared_ptr<MidiOutput> SystemMidiPorts::openOutput(int index) {
    if (index < systemOutputCount_) {
        return system_.openOutput(index);
    }
    if (isBuiltInSynthesizer(index)) {
        return builtInSynthesizer();
    }
    if (index == systemOutputCount_ && !captureFile_.empty()) {
        return CaptureOutput::open(captureFile_);
    }
    return nullptr;
}

std::shared_ptr<BuiltInSynthesizer> SystemMidiPorts::builtInSynthesizer() {
    if (!synthesizer_) {
        synthesizer_ = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::Device);
    }
    return synthesizer_;
}

std::unique_ptr<MidiInput> SystemMidiPorts::openInput(int index, MidiInput::Callback callback) {
    if (index < systemInputCount_) {
        return system_.openInput(index, std::move(callback));
    }
    if (index == systemInputCount_ && !replayFile_.empty()) {
        // Read at each opening, so an edited file plays as it is now.
        return std::make_unique<ReplayInput>(ReplayInput::read(replayFile_),
                                             static_cast<std::uint32_t>(index), std::move(callback));
    }
    return nullptr;
}
