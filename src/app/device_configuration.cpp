#include "app/device_configuration.h"

#include <algorithm>

#include "app/settings.h"
#include "playback/midi_device.h"

namespace {

// kNone, then the names.
std::vector<std::string> withNone(const std::vector<std::string>& names) {
    std::vector<std::string> entries{MidiDevice::kNone};
    entries.insert(entries.end(), names.begin(), names.end());
    return entries;
}

int positionOf(const std::vector<std::string>& entries, const std::string& name) {
    const auto found = std::find(entries.begin(), entries.end(), name);
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

bool validPosition(const std::vector<std::string>& entries, int position) {
    return position >= 0 && position < static_cast<int>(entries.size());
}

}  // namespace

DeviceConfiguration::DeviceConfiguration(MidiDevice& device, Settings& settings)
    : device_(device), settings_(settings) {}

void DeviceConfiguration::selectSavedOutput() {
    device_.listOutputs();
    device_.selectOutputByName(settings_.board(), -1);
}

void DeviceConfiguration::selectSavedInput() {
    device_.listInputs();
    device_.selectSavedInput(settings_.inBoard());
}

DeviceConfiguration::Choices DeviceConfiguration::choices() {
    shown_.outputs = withNone(device_.listOutputs());
    shown_.inputs = withNone(device_.listInputs());
    shown_.output = positionOf(shown_.outputs, settings_.board());
    shown_.input = positionOf(shown_.inputs, settings_.inBoard());
    return shown_;
}

void DeviceConfiguration::apply(int outputPosition, int inputPosition) {
    if (validPosition(shown_.outputs, outputPosition)) {
        settings_.setText(settings_keys::kBoard, shown_.outputs[outputPosition]);
        device_.selectOutputByName(shown_.outputs[outputPosition], outputPosition - 1);
    }
    if (validPosition(shown_.inputs, inputPosition)) {
        settings_.setText(settings_keys::kInBoard, shown_.inputs[inputPosition]);
        device_.selectInputByName(shown_.inputs[inputPosition], inputPosition - 1);
    }
}
