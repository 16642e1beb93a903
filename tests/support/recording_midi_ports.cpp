#include "support/recording_midi_ports.h"

#include <thread>
#include <utility>

#include "platform/clock.h"

namespace {

class RecordingOutput : public MidiOutput {
public:
    explicit RecordingOutput(RecordingMidiPorts& ports, const Clock& clock)
        : ports_(ports), clock_(clock) {}

    bool send(std::span<const std::uint8_t> message) override {
        if (ports_.refuseSend || (message[0] & 0xF0) == ports_.refuseKind) {
            return false;
        }
        ports_.sent.push_back({clock_.microseconds(), {message.begin(), message.end()}});
        if (ports_.onSend) {
            ports_.onSend();
        }
        return true;
    }

    bool close() override { return !ports_.refuseClose; }

private:
    RecordingMidiPorts& ports_;
    const Clock& clock_;
};

class ScriptedInput : public MidiInput {
public:
    explicit ScriptedInput(int& open) : open_(open) { ++open_; }
    ~ScriptedInput() override { --open_; }

private:
    int& open_;
};

}  // namespace

std::unique_ptr<MidiInput> RecordingMidiPorts::openInput(int, MidiInput::Callback callback) {
    if (refuseOpen) {
        return nullptr;
    }
    inputCallback_ = std::move(callback);
    return std::make_unique<ScriptedInput>(inputsOpen);
}

void RecordingMidiPorts::playInput(const std::vector<MidiInputEvent>& events) {
    std::thread driver([this, &events] {
        for (const MidiInputEvent& event : events) {
            inputCallback_(event);
        }
    });
    driver.join();
}

RecordingMidiPorts::RecordingMidiPorts(const Clock& clock, std::vector<std::string> outputs,
                                       std::vector<std::string> inputs, int builtInIndex)
    : clock_(clock),
      outputs_(std::move(outputs)),
      inputs_(std::move(inputs)),
      builtInIndex_(builtInIndex) {}

std::shared_ptr<MidiOutput> RecordingMidiPorts::openOutput(int index) {
    if (refuseOpen) {
        return nullptr;
    }
    opened.push_back(index);
    return std::make_shared<RecordingOutput>(*this, clock_);
}

std::vector<std::vector<std::uint8_t>> RecordingMidiPorts::sentBytes() const {
    std::vector<std::vector<std::uint8_t>> bytes;
    for (const Message& message : sent) {
        bytes.push_back(message.bytes);
    }
    return bytes;
}
