#include "app/application.h"

Application::Application(const std::filesystem::path& settingsFile, Ui& ui, Clock& clock,
                         MidiPorts& ports)
    : ui(ui),
      clock(clock),
      profile(settingsFile),
      settings(profile, ui),
      device(ports, ui),
      deviceConfiguration(device, settings) {
    voices.loadAtStartup(settings.text(settings_keys::kSynFile));
}
