#pragma once

#include <filesystem>

#include "app/device_configuration.h"
#include "app/settings.h"
#include "model/song_timing.h"
#include "platform/profile.h"
#include "playback/midi_device.h"
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

    // Reads the voice names at once; the settings are read where each value is used. The
    // ports must outlive the record.
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
    // The built-in synthesizer's SoundFont control could start: "AWE Enabled" shows and its
    // menu item is usable. Nothing provides it yet.
    bool soundFontControl = false;
};
