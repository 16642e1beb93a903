#include "platform/system_midi_ports.h"

#include <utility>

#include "platform/capture_output.h"

SystemMidiPorts::SystemMidiPorts(std::filesystem::path captureFile)
    : captureFile_(std::move(captureFile)) {}

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
    return system_.listInputs();
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
    return system_.openInput(index, std::move(callback));
}
