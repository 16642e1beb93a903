#include "playback/midi_device.h"

#include <utility>

#include "platform/built_in_synthesizer.h"
#include "platform/midi_ports.h"
#include "platform/null_midi_output.h"
#include "platform/ui.h"

namespace {

constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kVolume = 7;
constexpr std::uint8_t kSustain = 64;
constexpr std::uint8_t kResetAllControllers = 121;
constexpr std::uint8_t kAllNotesOff = 123;

// The entry chosen by name and index (see selectOutputByName), or -1 for none.
int chosenEntry(const std::vector<std::string>& list, const std::string& name, int index) {
    if (name == MidiDevice::kNone) {
        return -1;
    }
    if (index >= 0 && index < static_cast<int>(list.size())) {
        return index;
    }
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
        if (list[i] == name) {
            return i;
        }
    }
    return -1;
}

}  // namespace

MidiDevice::MidiDevice(MidiPorts& ports, Ui& ui)
    : ports_(ports), ui_(ui), output_(std::make_shared<NullMidiOutput>()) {}

MidiDevice::~MidiDevice() {
    closeOutput();
}

const std::vector<std::string>& MidiDevice::listOutputs() {
    outputs_ = ports_.listOutputs();
    return outputs_;
}

const std::vector<std::string>& MidiDevice::listInputs() {
    inputs_ = ports_.listInputs();
    return inputs_;
}

void MidiDevice::selectOutputByName(const std::string& name, int index) {
    selectedOutput_ = chosenEntry(outputs_, name, index);
    if (selectedOutput_ < 0 && name != kNone) {
        ui_.errorBox("MIDI Board not found - Re-configure");
    }
}

void MidiDevice::selectInputByName(const std::string& name, int index) {
    selectedInput_ = chosenEntry(inputs_, name, index);
    if (selectedInput_ < 0 && name != kNone) {
        ui_.errorBox("Board not found - Re-configure");
    }
}

void MidiDevice::selectSavedInput(const std::string& name) {
    selectedInput_ = name == kNone ? -1 : chosenEntry(inputs_, name, -1);
    if (selectedInput_ < 0) {
        ui_.errorBox("Board not found - Re-configure");
    }
}

std::unique_ptr<MidiInput> MidiDevice::openInput(MidiInput::Callback callback) {
    return inputEnabled() ? ports_.openInput(selectedInput_, std::move(callback)) : nullptr;
}

bool MidiDevice::isBuiltInSynthesizer() const {
    return outputEnabled() && ports_.isBuiltInSynthesizer(selectedOutput_);
}

bool MidiDevice::openOutput(bool initialSettings) {
    closeOutput();
    if (!outputEnabled()) {
        return true;
    }
    std::shared_ptr<MidiOutput> opened = ports_.openOutput(selectedOutput_);
    if (!opened) {
        ui_.errorBox("Can not open MIDI device");
        return false;
    }
    output_ = std::move(opened);
    outputOpen_ = true;
    reportSilence();
    failureReported_ = false;
    sounding_.fill(0);
    if (initialSettings) {
        sendInitialSettings();
    }
    return true;
}

void MidiDevice::sendInitialSettings() {
    for (int channel = 0; channel < kChannels; ++channel) {
        const auto control = static_cast<std::uint8_t>(kControlChange | channel);
        const std::uint8_t volume[] = {control, kVolume, 127};
        const std::uint8_t resetControllers[] = {control, kResetAllControllers, 127};
        sendProgramChange(channel, 0);
        if (!output_->send(volume) || !output_->send(resetControllers)) {
            reportFailure("Program change failed!");
        }
    }
}

void MidiDevice::releaseSoundingNotes() {
    for (int channel = 0; channel < kChannels; ++channel) {
        for (int key = 0; key < kKeys; ++key) {
            if (sounding_[channel * kKeys + key] > 0) {
                const std::uint8_t noteOff[] = {static_cast<std::uint8_t>(0x80 | channel),
                                                static_cast<std::uint8_t>(key), 0};
                output_->send(noteOff);
            }
        }
    }
    sounding_.fill(0);
}

void MidiDevice::reportSilence() {
    if (silenceReported_ || !isBuiltInSynthesizer()) {
        return;
    }
    const std::shared_ptr<BuiltInSynthesizer> synthesizer = ports_.builtInSynthesizer();
    if (!synthesizer || !synthesizer->silent()) {
        return;
    }
    silenceReported_ = true;
    ui_.errorBox("No audio output could be opened (" + synthesizer->audioOutputName() +
                     "), so the Built-in Synthesizer plays without sound. Choose a MIDI port "
                     "under Configuration, or write the song to a sound file with File > "
                     "Export Audio.",
                 "No Sound", MB_OK | MB_ICONEXCLAMATION);
}

void MidiDevice::closeOutput() {
    if (!outputOpen_) {
        return;
    }
    releaseSoundingNotes();
    // A held sustain pedal would keep the released notes sounding.
    for (int channel = 0; channel < kChannels; ++channel) {
        const auto control = static_cast<std::uint8_t>(kControlChange | channel);
        const std::uint8_t sustainOff[] = {control, kSustain, 0};
        const std::uint8_t allNotesOff[] = {control, kAllNotesOff, 0};
        output_->send(sustainOff);
        output_->send(allNotesOff);
    }
    const bool closed = output_->close();
    output_ = std::make_shared<NullMidiOutput>();
    outputOpen_ = false;
    if (!closed) {
        ui_.notice("Error closing MIDI device");
    }
}

void MidiDevice::sendShort(std::span<const std::uint8_t> message) {
    if (message.empty()) {
        return;
    }
    track(message);
    output_->send(message);
}

void MidiDevice::sendProgramChange(int channel, int program) {
    const std::uint8_t message[] = {static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)),
                                    static_cast<std::uint8_t>(program & 0x7F)};
    if (!output_->send(message)) {
        reportFailure("Program change failed!");
    }
}

void MidiDevice::sendLong(std::span<const std::uint8_t> message) {
    if (!message.empty() && !output_->send(message)) {
        reportFailure("System exclusive message failed!");
    }
}

void MidiDevice::track(std::span<const std::uint8_t> message) {
    const int kind = message[0] & 0xF0;
    if ((kind != 0x80 && kind != 0x90) || message.size() < 3) {
        return;
    }
    std::uint16_t& count = sounding_[(message[0] & 0x0F) * kKeys + (message[1] & 0x7F)];
    // A note-on of velocity 0 is a note-off.
    if (kind == 0x90 && message[2] != 0) {
        ++count;
    } else if (count > 0) {
        --count;
    }
}

void MidiDevice::reportFailure(const char* text) {
    if (!failureReported_) {
        failureReported_ = true;
        ui_.errorBox(text);
    }
}
