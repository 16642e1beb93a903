#pragma once

#include <string>
#include <vector>

class MidiDevice;
class Settings;

// The choice of play and record devices, as stored in the settings ("Board", "InBoard") and
// as the Configuration dialog offers it. The dialog fills its two lists from choices() and
// hands the positions picked to apply().
class DeviceConfiguration {
public:
    struct Choices {
        // kNone first, then the device names.
        std::vector<std::string> outputs;
        std::vector<std::string> inputs;
        // Positions of the saved names in the lists; -1 when a saved device is gone, which
        // leaves that list without a selection.
        int output = -1;
        int input = -1;
    };

    DeviceConfiguration(MidiDevice& device, Settings& settings);

    // At start-up: lists the outputs and chooses the one "Board" names, the built-in
    // synthesizer when the key is missing (see MidiDevice::selectOutputByName for the rest).
    void selectSavedOutput();

    // When Record starts without a record device: lists the inputs and chooses the one
    // "InBoard" names (MidiDevice::selectSavedInput).
    void selectSavedInput();

    // Lists both kinds of device again and reads the saved names.
    Choices choices();

    // OK: stores and chooses the entries at these positions of the lists of the last
    // choices(). A position of -1 (nothing selected) leaves that device and its setting as
    // they were.
    void apply(int outputPosition, int inputPosition);

private:
    MidiDevice& device_;
    Settings& settings_;
    Choices shown_;
};
