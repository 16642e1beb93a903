#include "playback/sound_font_manager.h"

#include <fluidsynth.h>

#include <fstream>
#include <sstream>
#include <utility>

SoundFontManager::SoundFontManager(std::shared_ptr<BuiltInSynthesizer> synthesizer,
                                   SoundFontState& state)
    : synthesizer_(std::move(synthesizer)), state_(state) {}

bool SoundFontManager::isUserBank(int number) {
    return number >= SoundFontState::kFirstUserBank && number <= SoundFontState::kLastUserBank;
}

int SoundFontManager::setReverbAndChorus(int reverbType, int chorusType) {
    if (reverbType < 0 || reverbType >= SoundFontState::kEffectTypes || chorusType < 0 ||
        chorusType >= SoundFontState::kEffectTypes) {
        return kFailed;
    }
    state_.reverbType = reverbType;
    state_.chorusType = chorusType;
    synthesizer_->setReverb(SoundFontState::reverbOf(reverbType));
    synthesizer_->setChorus(SoundFontState::chorusOf(chorusType));
    return 0;
}

int SoundFontManager::setSynthBank(int synthBank) {
    if (synthBank < 0 || synthBank >= SoundFontState::kSynthBanks) {
        return kFailed;
    }
    state_.synthBank = synthBank;
    synthesizer_->setBankSelectStyle(SoundFontState::styleOf(synthBank));
    return 0;
}

int SoundFontManager::loadUserBank(int number, const std::filesystem::path& file) {
    if (!isUserBank(number)) {
        return kFailed;
    }
    const std::optional<int> id = synthesizer_->loadSoundFont(file, number);
    if (!id) {
        return kFailed;
    }
    if (const auto old = loaded_.find(number); old != loaded_.end()) {
        synthesizer_->unloadSoundFont(old->second);
    }
    loaded_[number] = *id;
    state_.userBanks[number] = file;
    return 0;
}

int SoundFontManager::clearUserBank(int number) {
    const auto found = loaded_.find(number);
    if (found == loaded_.end()) {
        return kFailed;
    }
    synthesizer_->unloadSoundFont(found->second);
    loaded_.erase(found);
    state_.userBanks.erase(number);
    return 0;
}

int SoundFontManager::userBank(int number, std::string& name, bool& empty) const {
    if (!isUserBank(number)) {
        return kFailed;
    }
    const auto found = state_.userBanks.find(number);
    empty = found == state_.userBanks.end();
    name = empty ? std::string() : found->second.string();
    return 0;
}

int SoundFontManager::memory(std::uint64_t& totalKb, std::uint64_t& availableKb) const {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    bool total = false;
    bool available = false;
    while (std::getline(meminfo, line)) {
        std::istringstream fields(line);
        std::string key;
        std::uint64_t kb = 0;
        if (!(fields >> key >> kb)) {
            continue;
        }
        if (key == "MemTotal:") {
            totalKb = kb;
            total = true;
        } else if (key == "MemAvailable:") {
            availableKb = kb;
            available = true;
        }
    }
    return total && available ? 0 : kFailed;
}

std::array<int, 4> SoundFontManager::version() {
    const std::array<int, 3> running = BuiltInSynthesizer::libraryVersion();
    return {running[0], running[1], FLUIDSYNTH_VERSION_MAJOR, FLUIDSYNTH_VERSION_MINOR};
}
