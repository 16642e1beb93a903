#pragma once

#include <array>
#include <filesystem>
#include <map>

#include "platform/built_in_synthesizer.h"

// What the SoundFont control has set on the built-in synthesizer: the synth bank, the reverb
// and chorus types, the user banks loaded, and whether every song starts with a bank select
// to the user bank. A second synthesizer given the same state (applyTo) sounds like the first.
struct SoundFontState {
    // Synth banks: 0 General MIDI, 1 Roland GS, 2 MT-32.
    static constexpr int kSynthBanks = 3;
    // Reverb types 0-8 and chorus types 0-8; the last of each is none.
    static constexpr int kEffectTypes = 9;
    static constexpr int kFirstUserBank = 1;
    static constexpr int kLastUserBank = 127;

    static constexpr std::array<const char*, kSynthBanks> kSynthBankNames{"GENERAL MIDI",
                                                                          "ROLAND_GS", "MT32"};
    static constexpr std::array<const char*, kEffectTypes> kReverbNames{
        "ROOM 1", "ROOM 2", "ROOM 3",        "HALL 1", "HALL 2",
        "PLATE",  "DELAY",  "PANNING DELAY", "NONE"};
    static constexpr std::array<const char*, kEffectTypes> kChorusNames{
        "CHORUS 1", "CHORUS 2",    "CHORUS 3",       "CHORUS 4", "FEEDBACK DELAY",
        "FLANGER",  "SHORT DELAY", "SHORT DELAY FB", "NONE"};

    // The bank-select style of a synth bank (0-2). An MT-32 knows no bank select, so it maps
    // to the style that ignores bank selects, as General MIDI does.
    static BuiltInSynthesizer::BankSelectStyle styleOf(int synthBank);
    // FluidSynth's parameters for a reverb or chorus type (0-8).
    static BuiltInSynthesizer::Reverb reverbOf(int type);
    static BuiltInSynthesizer::Chorus chorusOf(int type);

    // Sets everything on a synthesizer that has none of the user banks loaded yet. A user
    // bank that no longer loads is left out.
    void applyTo(BuiltInSynthesizer& synthesizer) const;

    // The bank every play starts with a select of, on channel 1; -1 for none.
    int leadingBankSelect() const {
        return useForAllSongs && userBankNumber >= 0 && userBankNumber <= kLastUserBank
                   ? userBankNumber
                   : -1;
    }

    int synthBank = 0;
    int reverbType = 0;
    int chorusType = 0;
    // The SoundFont loaded at each user bank number.
    std::map<int, std::filesystem::path> userBanks;
    // The user bank the control shows: 1-127 unless the settings file says otherwise.
    int userBankNumber = kFirstUserBank;
    // "Use SoundFont for all songs".
    bool useForAllSongs = false;
};
