#include "app/application.h"

Application::Application(const std::filesystem::path& settingsFile, Ui& ui, Clock& clock,
                         MidiPorts& ports)
    : ui(ui),
      clock(clock),
      profile(settingsFile),
      settings(profile, ui),
      device(ports, ui),
      deviceConfiguration(device, settings),
      trackMix(settings.trackMix()),
      speedPercent(settings.speedPercent()),
      playLoop(settings.playLoop()) {
    voices.loadAtStartup(settings.text(settings_keys::kSynFile));
    if (std::shared_ptr<BuiltInSynthesizer> synthesizer = ports.builtInSynthesizer()) {
        soundFontManager = std::make_unique<SoundFontManager>(synthesizer, soundFontState);
        soundFont = std::make_unique<SoundFontControl>(*soundFontManager, settings);
        soundFont->start();
        soundFontControl = true;
    }
}
