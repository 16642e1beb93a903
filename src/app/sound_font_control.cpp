#include "app/sound_font_control.h"

#include <cstdio>

#include "app/settings.h"
#include "playback/sound_font_manager.h"

SoundFontControl::SoundFontControl(SoundFontManager& manager, Settings& settings)
    : manager_(manager), settings_(settings) {}

SoundFontState SoundFontControl::savedState(Settings& settings) {
    SoundFontState state;
    const int synthBank = settings.number(settings_keys::kBank);
    state.synthBank = synthBank >= 0 && synthBank < SoundFontState::kSynthBanks ? synthBank : 0;
    state.reverbType = settings.number(settings_keys::kReverb);
    state.chorusType = settings.number(settings_keys::kChorus);
    const int number = settings.number(settings_keys::kUserBankNum);
    state.userBankNumber = number == 0 ? 1 : number;
    const std::string userBank = settings.text(settings_keys::kUserBank);
    if (!userBank.empty() && userBank != kNoUserBank) {
        state.userBanks[state.userBankNumber] = userBank;
    }
    state.useForAllSongs = settings.useAwe();
    return state;
}

void SoundFontControl::start() {
    int synthBank = settings_.number(settings_keys::kBank);
    if (synthBank < 0 || synthBank >= SoundFontState::kSynthBanks) {
        synthBank = 0;
    }
    const int reverbType = settings_.number(settings_keys::kReverb);
    const int chorusType = settings_.number(settings_keys::kChorus);
    const std::string savedBank = settings_.text(settings_keys::kUserBank);
    setReverbAndChorus(reverbType, chorusType);
    setSynthBank(synthBank);
    selectUserBank(userBankNumber());
    // The synthesizer starts with no user bank, where a card kept its own: the saved one is
    // loaded again, or the next exit would forget it.
    if (!bankLoaded_ && savedBank != kNoUserBank) {
        userBankName_ = savedBank;
    }
    if (userBankName_ != kNoUserBank) {
        loadUserBankFromName();
    }
    queryUserBank();
    settings_.setText(settings_keys::kUserBank, userBankName_);
}

void SoundFontControl::shutdown() {
    const int synthBank = this->synthBank();
    settings_.setNumber(settings_keys::kBank, synthBank);
    settings_.setNumber(settings_keys::kReverb, reverbType_);
    settings_.setNumber(settings_keys::kChorus, chorusType_);
    settings_.setNumber(settings_keys::kUserBankNum, userBankNumber());
    settings_.setText(settings_keys::kUserBank, userBankName_);
}

bool SoundFontControl::setReverbAndChorus(int reverbType, int chorusType) {
    if (manager_.setReverbAndChorus(reverbType, chorusType) != 0) {
        return false;
    }
    reverbType_ = reverbType;
    chorusType_ = chorusType;
    return true;
}

bool SoundFontControl::setSynthBank(int synthBank) {
    return manager_.setSynthBank(synthBank) == 0;
}

int SoundFontControl::synthBank() const {
    const int synthBank = manager_.synthBank();
    return synthBank >= 0 && synthBank < SoundFontState::kSynthBanks ? synthBank : 0;
}

int SoundFontControl::userBankNumber() const {
    const int number = settings_.number(settings_keys::kUserBankNum);
    return number == 0 ? 1 : number;
}

void SoundFontControl::selectUserBank(int number) {
    settings_.setNumber(settings_keys::kUserBankNum, number);
    manager_.state().userBankNumber = userBankNumber();
    queryUserBank();
    settings_.setText(settings_keys::kUserBank, userBankName_);
}

void SoundFontControl::queryUserBank() {
    std::string name;
    bool empty = true;
    if (const int result = manager_.userBank(userBankNumber(), name, empty); result != 0) {
        char text[64];
        std::snprintf(text, sizeof text, "User Bank Error code = %d", result);
        userBankName_ = text;
        bankLoaded_ = false;
    } else if (empty) {
        userBankName_ = kNoUserBank;
        bankLoaded_ = false;
    } else {
        userBankName_ = name;
        bankLoaded_ = true;
    }
}

bool SoundFontControl::loadUserBank(const std::string& file) {
    userBankName_ = file;
    if (loadUserBankFromName()) {
        return true;
    }
    // The bank that was loaded stays loaded: it keeps its name, and the settings keep it.
    queryUserBank();
    return false;
}

bool SoundFontControl::loadUserBankFromName() {
    const int number = userBankNumber();
    bankLoaded_ = manager_.loadUserBank(number, userBankName_) == 0;
    if (bankLoaded_) {
        settings_.setNumber(settings_keys::kUserBankNum, number);
        settings_.setText(settings_keys::kUserBank, userBankName_);
    }
    return bankLoaded_;
}

bool SoundFontControl::clearUserBank() {
    if (!bankLoaded_ || manager_.clearUserBank(userBankNumber()) != 0) {
        return false;
    }
    bankLoaded_ = false;
    userBankName_ = kNoUserBank;
    settings_.setText(settings_keys::kUserBank, userBankName_);
    return true;
}

std::string SoundFontControl::memoryText() const {
    std::uint64_t totalKb = 0;
    std::uint64_t availableKb = 0;
    if (manager_.memory(totalKb, availableKb) != 0) {
        return {};
    }
    char text[96];
    std::snprintf(text, sizeof text, "Total = %llu KB, Available = %llu KB",
                  static_cast<unsigned long long>(totalKb),
                  static_cast<unsigned long long>(availableKb));
    return text;
}

std::string SoundFontControl::versionText() {
    const std::array<int, 4> version = SoundFontManager::version();
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d Driver %d.%d", version[0], version[1], version[2],
                  version[3]);
    return text;
}
