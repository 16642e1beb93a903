#include "support/recording_midi_ports.h"

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
        return true;
    }

    bool close() override { return !ports_.refuseClose; }

private:
    RecordingMidiPorts& ports_;
    const Clock& clock_;
};

}  // namespace

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
