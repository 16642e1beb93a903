#include "platform/rt_midi_ports.h"

#include <alsa/asoundlib.h>

#include <RtMidi.h>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <utility>

namespace {

constexpr const char* kClientName = "tolvar 32";
constexpr RtMidi::Api kApis[] = {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK};

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// While it lives, RtMidi's complaints go nowhere: it writes to std::cerr even where it also
// throws (only the window thread writes there). ALSA's go nowhere from then on, the built-in
// synthesizer's audio included: the program reports what fails in its own words.
class QuietBackends {
public:
    QuietBackends() : saved_(std::cerr.rdbuf(nullptr)) {
        snd_lib_error_set_handler(ignoreAlsaError);
    }
    ~QuietBackends() { std::cerr.rdbuf(saved_); }
    QuietBackends(const QuietBackends&) = delete;
    QuietBackends& operator=(const QuietBackends&) = delete;

private:
    std::streambuf* saved_;
};

// Once a port object exists, its errors come here instead of being thrown or printed.
void noteError(RtMidiError::Type type, const std::string&, void* failed) {
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING) {
        *static_cast<bool*>(failed) = true;
    }
}

// Whether the backend still has the port under its listed number and name. A JACK backend
// without a server counts no ports, so it is never asked for a port it does not have.
bool stillThere(RtMidi& backend, unsigned number, const std::string& name) {
    return number < backend.getPortCount() && backend.getPortName(number) == name;
}

class RtMidiOutput : public MidiOutput {
public:
    explicit RtMidiOutput(std::unique_ptr<RtMidiOut> port) : port_(std::move(port)) {
        port_->setErrorCallback(noteError, &failed_);
    }

    bool open(unsigned number) {
        port_->openPort(number, "out");
        return !failed_;
    }

    bool send(std::span<const std::uint8_t> message) override {
        failed_ = false;
        try {
            port_->sendMessage(message.data(), message.size());
        } catch (const std::exception&) {
            failed_ = true;
        }
        return !failed_;
    }

    bool close() override {
        failed_ = false;
        try {
            port_->closePort();
        } catch (const std::exception&) {
            failed_ = true;
        }
        return !failed_;
    }

private:
    std::unique_ptr<RtMidiOut> port_;
    bool failed_ = false;
};

class RtMidiInput : public MidiInput {
public:
    RtMidiInput(std::unique_ptr<RtMidiIn> port, std::uint32_t device, Callback callback)
        : port_(std::move(port)), device_(device), callback_(std::move(callback)) {
        port_->setErrorCallback(noteError, &failed_);
        port_->setCallback(receive, this);
    }
    // Closing the port first stops its thread, which may be inside the callback.
    ~RtMidiInput() override { port_.reset(); }

    bool open(unsigned number) {
        port_->openPort(number, "in");
        return !failed_;
    }

private:
    static void receive(double, std::vector<unsigned char>* message, void* self) {
        static_cast<RtMidiInput*>(self)->receive(*message);
    }

    void receive(const std::vector<unsigned char>& message) {
        if (message.empty() || message.size() > 3) {
            return;
        }
        const auto sinceOpened = std::chrono::steady_clock::now() - opened_;
        MidiInputEvent event{device_, 0, 0};
        event.timestampMs = static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(sinceOpened).count());
        for (std::size_t i = 0; i < message.size(); ++i) {
            event.packedMessage |= std::uint32_t{message[i]} << (8 * i);
        }
        callback_(event);
    }

    std::unique_ptr<RtMidiIn> port_;
    std::uint32_t device_;
    Callback callback_;
    const std::chrono::steady_clock::time_point opened_ = std::chrono::steady_clock::now();
    bool failed_ = false;
};

}  // namespace

std::vector<std::string> RtMidiPorts::listOutputs() {
    outputs_ = listPorts(false);
    return namesOf(outputs_);
}

std::vector<std::string> RtMidiPorts::listInputs() {
    inputs_ = listPorts(true);
    return namesOf(inputs_);
}

std::shared_ptr<MidiOutput> RtMidiPorts::openOutput(int index) {
    if (index < 0 || index >= static_cast<int>(outputs_.size())) {
        return nullptr;
    }
    const Port& port = outputs_[index];
    const QuietBackends quiet;
    try {
        auto backend = std::make_unique<RtMidiOut>(static_cast<RtMidi::Api>(port.api), kClientName);
        if (!stillThere(*backend, port.number, port.name)) {
            return nullptr;
        }
        auto output = std::make_shared<RtMidiOutput>(std::move(backend));
        return output->open(port.number) ? output : nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<MidiInput> RtMidiPorts::openInput(int index, MidiInput::Callback callback) {
    if (index < 0 || index >= static_cast<int>(inputs_.size())) {
        return nullptr;
    }
    const Port& port = inputs_[index];
    const QuietBackends quiet;
    try {
        auto backend = std::make_unique<RtMidiIn>(static_cast<RtMidi::Api>(port.api), kClientName);
        if (!stillThere(*backend, port.number, port.name)) {
            return nullptr;
        }
        auto input = std::make_unique<RtMidiInput>(
            std::move(backend), static_cast<std::uint32_t>(index), std::move(callback));
        return input->open(port.number) ? std::move(input) : nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::vector<RtMidiPorts::Port> RtMidiPorts::listPorts(bool directionIsInput) {
    std::vector<Port> ports;
    const QuietBackends quiet;
    for (const RtMidi::Api api : kApis) {
        try {
            if (directionIsInput) {
                RtMidiIn backend(api, kClientName);
                appendPorts(backend, api, ports);
            } else {
                RtMidiOut backend(api, kClientName);
                appendPorts(backend, api, ports);
            }
        } catch (const std::exception&) {
            // This backend has no service here (no sequencer device): it lists nothing.
        }
    }
    return ports;
}

void RtMidiPorts::appendPorts(RtMidi& backend, int api, std::vector<Port>& ports) {
    for (unsigned number = 0, count = backend.getPortCount(); number < count; ++number) {
        ports.push_back({api, number, backend.getPortName(number)});
    }
}

std::vector<std::string> RtMidiPorts::namesOf(const std::vector<Port>& ports) {
    std::vector<std::string> names;
    for (const Port& port : ports) {
        names.push_back(port.name);
    }
    return names;
}
