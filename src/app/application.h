#pragma once

#include <filesystem>
#include <memory>

#include "app/device_configuration.h"
#include "app/settings.h"
#include "app/sound_font_control.h"
#include "model/song_timing.h"
#include "platform/profile.h"
#include "playback/midi_device.h"
#include "playback/sound_font_manager.h"
#include "playback/sound_font_state.h"
#include "playback/voice_table.h"

class Clock;
class MidiPorts;
class Ui;

// The objects the program has once, whatever window asks: the settings, the timing values
// every song shares, the voice names, the MIDI devices, the Ui and the clock. Windows reach
// them through this record rather than through statics, so a test builds a fresh program with
// its own settings file, scripted Ui, manual clock and recording MIDI ports.
class Application {
public:
    static constexpr const char* kTitle = "tolvar 32";

    // Reads the voice names at once and starts the SoundFont control when the ports' built-in
    // synthesizer starts; the settings are read where each value is used. The ports must
    // outlive the record.
    Application(const std::filesystem::path& settingsFile, Ui& ui, Clock& clock, MidiPorts& ports);

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Ui& ui;
    Clock& clock;
    Profile profile;
    Settings settings;
    SongTiming timing;
    VoiceTable voices;
    MidiDevice device;
    DeviceConfiguration deviceConfiguration;
    // What the SoundFont control set, kept also without it: "Use SoundFont for all songs" is
    // the main window's flag.
    SoundFontState soundFontState;
    std::unique_ptr<SoundFontManager> soundFontManager;
    // Present exactly when the built-in synthesizer could start.
    std::unique_ptr<SoundFontControl> soundFont;
    // The SoundFont control is present: "AWE Enabled" shows and its menu item is usable.
    bool soundFontControl = false;
    // The tracks muted and soloed for practice, as the settings file keeps them. Playing and
    // exporting audio honour it; the songs never hold it.
    TrackMix trackMix;
    // The practice speed in percent of the song's tempo, likewise kept in the settings file;
    // an audio export ignores it.
    int speedPercent = 100;
    // The practice loop, likewise.
    PlayLoop playLoop;
};
