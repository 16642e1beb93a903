#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/midi_input.h"

class MidiOutput;
class MidiPorts;
class Ui;

// The MIDI device layer: the lists of outputs and inputs, the chosen play and record devices,
// and every message the program sends. The play device is chosen by name and opened only
// while playing; every send does nothing while no play device is chosen or open.
//
// It remembers which notes it turned on, so that closing the output turns off everything
// still sounding. Window thread only.
class MidiDevice {
public:
    // The list entry, and the stored name, that means "no device".
    static constexpr const char* kNone = "-NONE-";

    MidiDevice(MidiPorts& ports, Ui& ui);
    ~MidiDevice();
    MidiDevice(const MidiDevice&) = delete;
    MidiDevice& operator=(const MidiDevice&) = delete;

    // Lists the devices again; the chosen ones are kept by index.
    const std::vector<std::string>& listOutputs();
    const std::vector<std::string>& listInputs();

    // kNone chooses no play device. Otherwise index >= 0 chooses that entry of the output
    // list, and -1 looks the name up: the last entry of that name wins; when none has it the
    // error box says "MIDI Board not found - Re-configure" and no device is chosen.
    void selectOutputByName(const std::string& name, int index);
    // The same for the record device, with the message "Board not found - Re-configure".
    void selectInputByName(const std::string& name, int index);
    // Record's choice of the saved record device: as selectInputByName(name, -1), except that
    // kNone is looked up like any name, so it too ends in "Board not found - Re-configure".
    void selectSavedInput(const std::string& name);

    bool outputEnabled() const { return selectedOutput_ >= 0; }
    bool inputEnabled() const { return selectedInput_ >= 0; }
    // Index of the record device in the input list; -1 for none.
    int selectedInput() const { return selectedInput_; }
    // The play device is the built-in synthesizer: it has every voice without being told.
    bool isBuiltInSynthesizer() const;

    // Opens the play device, closing it first when open. With initialSettings each channel in
    // turn gets program 0, volume 127 and reset all controllers; a send that fails shows
    // "Program change failed!" (once for the opening) and the rest go on. With no play device
    // chosen it opens nothing and succeeds. A device that does not open: "Can not open MIDI device"
    // and false.
    // The built-in synthesizer without its audio device says so once for the device's life:
    // it would play unheard.
    bool openOutput(bool initialSettings);
    // The initial settings of an opening, sent again to the open device.
    void sendInitialSettings();
    // A note-off for each note that sounds, as closing sends them; the device stays open.
    void releaseSoundingNotes();
    // Turns off whatever still sounds (a note-off for each note on, then sustain off and All
    // Notes Off on every channel) and closes the play device; a device that fails to close
    // says "Error closing MIDI device" on the message line and is let go all the same.
    // Nothing when it is not open.
    void closeOutput();
    bool outputOpen() const { return outputOpen_; }

    // Opens the record device; callback gets its messages on the input's thread from then on.
    // Null when no record device is chosen or it does not open.
    std::unique_ptr<MidiInput> openInput(MidiInput::Callback callback);

    // A channel or system message, bytes as given; a failure is not reported.
    void sendShort(std::span<const std::uint8_t> message);
    // Program change on channel 0-15. A failure shows "Program change failed!".
    void sendProgramChange(int channel, int program);
    // A system-exclusive message from 0xF0 to 0xF7, or the raw bytes of an escaped message.
    // A failure shows "System exclusive message failed!".
    void sendLong(std::span<const std::uint8_t> message);

private:
    static constexpr int kChannels = 16;
    static constexpr int kKeys = 128;

    void track(std::span<const std::uint8_t> message);
    // The error box for a failed send, once for each opening: a device that has gone away
    // fails every message, and one box says it.
    void reportFailure(const char* text);
    void reportSilence();

    MidiPorts& ports_;
    Ui& ui_;
    std::vector<std::string> outputs_;
    std::vector<std::string> inputs_;
    int selectedOutput_ = -1;
    int selectedInput_ = -1;
    // A NullMidiOutput while the play device is closed, so sending needs no check.
    std::shared_ptr<MidiOutput> output_;
    bool outputOpen_ = false;
    bool failureReported_ = false;
    bool silenceReported_ = false;
    // Note-ons sent and not yet turned off, per channel and key.
    std::array<std::uint16_t, kChannels * kKeys> sounding_{};
};
