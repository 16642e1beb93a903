#pragma once

#include <fluidsynth/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "platform/midi_output.h"

// The built-in synthesizer: FluidSynth playing the system's General MIDI SoundFont, heard
// through FluidSynth's default audio driver. Without an audio device it still synthesizes:
// render() pulls the samples instead.
//
// FluidSynth serialises its own calls, so send() from the window thread and the audio
// driver's thread may run together; render() is meant for a synthesizer started without
// audio.
class BuiltInSynthesizer : public MidiOutput {
public:
    enum class Audio { Device, None };

    static constexpr int kSampleRate = 44100;

    // Null when no SoundFont is installed or FluidSynth cannot start. With Audio::Device an
    // audio device that cannot be opened leaves a synthesizer that is heard nowhere.
    // sampleRateHz is FluidSynth's range (8,000 to 96,000). An empty soundFontFile means the
    // system's General MIDI SoundFont; a file that does not load gives null.
    static std::unique_ptr<BuiltInSynthesizer> start(
        Audio audio, int sampleRateHz = kSampleRate,
        const std::filesystem::path& soundFontFile = {});

    ~BuiltInSynthesizer() override;
    BuiltInSynthesizer(const BuiltInSynthesizer&) = delete;
    BuiltInSynthesizer& operator=(const BuiltInSynthesizer&) = delete;

    // Channel messages and system exclusive; other system messages are accepted and do
    // nothing. False only for a message cut short.
    bool send(std::span<const std::uint8_t> message) override;

    // Synthesizes left.size() frames (right must be as long) at sampleRateHz().
    void render(std::span<float> left, std::span<float> right);
    int sampleRateHz() const { return sampleRateHz_; }

private:
    BuiltInSynthesizer() = default;

    // /usr/share/sounds/sf2/default-GM.sf2, else the first *.sf2 there by name; empty when
    // there is none.
    static std::filesystem::path soundFont();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
    int sampleRateHz_ = kSampleRate;
};
