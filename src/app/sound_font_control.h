#pragma once

#include <string>

#include "playback/sound_font_state.h"

class Settings;
class SoundFontManager;

// The SoundFont control: applies the saved synth bank, effects and user bank at start-up,
// loads and clears user banks, and writes its settings back at exit, all through the
// manager's messages. It exists only while the built-in synthesizer runs. Window thread only.
class SoundFontControl {
public:
    static constexpr const char* kNoUserBank = "No User Bank Selected";

    SoundFontControl(SoundFontManager& manager, Settings& settings);

    // What the saved settings give a synthesizer started afresh, read without writing anything
    // back: how a tool that renders on its own synthesizer should sound.
    static SoundFontState savedState(Settings& settings);

    // Applies the saved settings: reverb and chorus, the synth bank, then the user bank.
    void start();
    // Writes the settings back; the program is about to end.
    void shutdown();

    // The reverb and chorus types (0-8); false when the manager refused them.
    bool setReverbAndChorus(int reverbType, int chorusType);
    bool setSynthBank(int synthBank);
    // The synth bank the manager has (0-2); anything else counts as 0.
    int synthBank() const;

    // "User Bank Num", where 0 means 1.
    int userBankNumber() const;
    // Makes number the user bank shown: stored, written and asked about.
    void selectUserBank(int number);
    // Asks the manager what the user bank holds; the name and the loaded flag follow.
    void queryUserBank();
    // Loads file into the user bank; on success the settings follow. On failure the bank
    // loaded before, if any, stays, with its name.
    bool loadUserBank(const std::string& file);
    // Clears the user bank; false when none is loaded or the manager refused.
    bool clearUserBank();

    const std::string& userBankName() const { return userBankName_; }
    bool bankLoaded() const { return bankLoaded_; }
    int reverbType() const { return reverbType_; }
    int chorusType() const { return chorusType_; }

    // "Total = ... KB, Available = ... KB"; empty when the manager cannot tell.
    std::string memoryText() const;
    // "major.minor Driver major.minor".
    static std::string versionText();

private:
    bool loadUserBankFromName();

    SoundFontManager& manager_;
    Settings& settings_;
    bool bankLoaded_ = false;
    std::string userBankName_;
    int reverbType_ = 0;
    int chorusType_ = 0;
};
