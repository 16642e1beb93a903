#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/built_in_synthesizer.h"
#include "playback/sound_font_state.h"

// The SoundFont synthesizer's manager, answering its messages by driving the built-in
// synthesizer: synth bank = bank-select style, reverb and chorus types = FluidSynth's effect
// parameters, user bank N = a SoundFont loaded at bank offset N. Every message returns 0 on
// success and a non-zero code otherwise. What it sets is kept in the state, so that another
// synthesizer can be made to sound the same. Window thread only.
class SoundFontManager {
public:
    static constexpr int kFailed = 1;

    SoundFontManager(std::shared_ptr<BuiltInSynthesizer> synthesizer, SoundFontState& state);

    // Types 0-8 each.
    int setReverbAndChorus(int reverbType, int chorusType);
    // 0 General MIDI, 1 Roland GS, 2 MT-32.
    int setSynthBank(int synthBank);
    // Loads the SoundFont at bank number (1-127), replacing the one loaded there only when
    // the new one loads.
    int loadUserBank(int number, const std::filesystem::path& file);
    // Fails when nothing is loaded at the number.
    int clearUserBank(int number);
    int synthBank() const { return state_.synthBank; }
    // The file loaded at number; empty is set when there is none.
    int userBank(int number, std::string& name, bool& empty) const;
    // The machine's memory in KB, total and available: the samples live in main memory.
    int memory(std::uint64_t& totalKb, std::uint64_t& availableKb) const;
    // FluidSynth's version as the program runs it (major, minor), then as the program was
    // built against it (major, minor).
    static std::array<int, 4> version();

    SoundFontState& state() { return state_; }
    BuiltInSynthesizer* synthesizer() const { return synthesizer_.get(); }

private:
    static bool isUserBank(int number);

    std::shared_ptr<BuiltInSynthesizer> synthesizer_;
    SoundFontState& state_;
    // FluidSynth's id of the SoundFont at each user bank number.
    std::map<int, int> loaded_;
};
