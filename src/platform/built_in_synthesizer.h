#pragma once

#include <fluidsynth/types.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

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
    // How bank selects (control changes 0 and 32) reach the synthesizer. GeneralMidi ignores
    // both, as a General MIDI module does; Gs takes the bank from control 0 alone.
    enum class BankSelectStyle { GeneralMidi, Gs };

    // FluidSynth's reverb: sizes and levels 0-1; off when on is false.
    struct Reverb {
        bool on;
        double roomSize;
        double damping;
        double width;
        double level;
    };
    // FluidSynth's chorus: voices 0-99, level 0-10, speed 0.1-5 Hz, depth in ms, wave 0 sine
    // or 1 triangle; off when on is false.
    struct Chorus {
        bool on;
        int voices;
        double level;
        double speedHz;
        double depthMs;
        int wave;
    };
    static constexpr int kPrograms = 128;
    using PresetNames = std::array<std::string, kPrograms>;

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
    // Started for an audio device that could not be opened: it plays, and nobody hears it.
    bool silent() const { return audioWanted_ && driver_ == nullptr; }
    // Where its sound goes, or would go: FluidSynth's audio driver, and for ALSA its device
    // ("alsa default").
    std::string audioOutputName() const;

    // Takes effect from the next bank select on; a channel whose bank the new style ignores
    // goes back to bank 0 for its next note. The loaded SoundFonts stay.
    void setBankSelectStyle(BankSelectStyle style);
    void setReverb(const Reverb& reverb);
    void setChorus(const Chorus& chorus);
    // Loads a SoundFont beside the others, its banks moved up by bankOffset, so that bank
    // select bankOffset plays its bank 0. Returns its id, or nothing when FluidSynth cannot
    // read the file.
    std::optional<int> loadSoundFont(const std::filesystem::path& file, int bankOffset);
    // Unloads a SoundFont loadSoundFont gave; false for an unknown id.
    bool unloadSoundFont(int id);

    // The names of the bank-0 presets of a SoundFont, preset p at p; a missing preset has an
    // empty name. Nothing when FluidSynth cannot read the file. Reads no samples.
    static std::optional<PresetNames> presetNames(const std::filesystem::path& file);
    // The FluidSynth library's version: major, minor, micro.
    static std::array<int, 3> libraryVersion();

private:
    BuiltInSynthesizer() = default;

    // /usr/share/sounds/sf2/default-GM.sf2, else the first *.sf2 there by name; empty when
    // there is none.
    static std::filesystem::path soundFont();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
    bool audioWanted_ = false;
    int sampleRateHz_ = kSampleRate;
    std::atomic<BankSelectStyle> bankSelectStyle_{BankSelectStyle::Gs};
};
