#include "platform/built_in_synthesizer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <system_error>
#include <vector>

namespace {

const std::filesystem::path kSoundFontDirectory = "/usr/share/sounds/sf2";

// The number of data bytes a channel message carries after its status.
std::size_t dataBytesOf(std::uint8_t status) {
    const int kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

constexpr int kBankSelectMsb = 0;
constexpr int kBankSelectLsb = 32;
// FluidSynth keeps its drum kits from bank 128 on.
constexpr int kDrumBank = 128;

bool isBankSelect(int controller) {
    return controller == kBankSelectMsb || controller == kBankSelectLsb;
}

// A file that is not a SoundFont is refused before FluidSynth loads it: handed one, it makes a
// library underneath complain on the error stream.
bool isSoundFont(const std::filesystem::path& file) {
    return !file.empty() && fluid_is_soundfont(file.c_str()) != 0;
}

}  // namespace

std::unique_ptr<BuiltInSynthesizer> BuiltInSynthesizer::start(
    Audio audio, int sampleRateHz, const std::filesystem::path& soundFontFile) {
    const std::filesystem::path soundFontPath = soundFontFile.empty() ? soundFont() : soundFontFile;
    if (!isSoundFont(soundFontPath)) {
        return nullptr;
    }
    // FluidSynth reports a missing audio device and other trouble on the error stream; the
    // caller learns what matters from the result.
    for (const int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    std::unique_ptr<BuiltInSynthesizer> synthesizer(new BuiltInSynthesizer);
    synthesizer->settings_ = new_fluid_settings();
    if (synthesizer->settings_ == nullptr) {
        return nullptr;
    }
    synthesizer->sampleRateHz_ = sampleRateHz;
    fluid_settings_setnum(synthesizer->settings_, "synth.sample-rate", sampleRateHz);
    synthesizer->synth_ = new_fluid_synth(synthesizer->settings_);
    if (synthesizer->synth_ == nullptr ||
        fluid_synth_sfload(synthesizer->synth_, soundFontPath.c_str(), 1) == FLUID_FAILED) {
        return nullptr;
    }
    if (audio == Audio::Device) {
        synthesizer->audioWanted_ = true;
        synthesizer->driver_ = new_fluid_audio_driver(synthesizer->settings_, synthesizer->synth_);
    }
    return synthesizer;
}

std::string BuiltInSynthesizer::audioOutputName() const {
    const auto setting = [this](const char* name) {
        char* value = nullptr;
        std::string text;
        if (fluid_settings_dupstr(settings_, name, &value) == FLUID_OK && value != nullptr) {
            text = value;
        }
        fluid_free(value);
        return text;
    };
    const std::string driver = setting("audio.driver");
    return driver == "alsa" ? driver + " " + setting("audio.alsa.device") : driver;
}

std::filesystem::path BuiltInSynthesizer::soundFont() {
    const std::filesystem::path preferred = kSoundFontDirectory / "default-GM.sf2";
    std::error_code error;
    if (std::filesystem::is_regular_file(preferred, error)) {
        return preferred;
    }
    std::vector<std::filesystem::path> found;
    for (std::filesystem::directory_iterator entry(kSoundFontDirectory, error), end;
         !error && entry != end; entry.increment(error)) {
        if (entry->path().extension() == ".sf2" && entry->is_regular_file(error)) {
            found.push_back(entry->path());
        }
    }
    return found.empty() ? std::filesystem::path() : *std::min_element(found.begin(), found.end());
}

BuiltInSynthesizer::~BuiltInSynthesizer() {
    if (driver_ != nullptr) {
        delete_fluid_audio_driver(driver_);
    }
    if (synth_ != nullptr) {
        delete_fluid_synth(synth_);
    }
    if (settings_ != nullptr) {
        delete_fluid_settings(settings_);
    }
}

bool BuiltInSynthesizer::send(std::span<const std::uint8_t> message) {
    if (message.empty()) {
        return false;
    }
    const std::uint8_t status = message[0];
    if (status == 0xF0) {
        // FluidSynth takes the bytes between the start and the end of exclusive.
        const std::size_t end = message.back() == 0xF7 ? message.size() - 1 : message.size();
        fluid_synth_sysex(synth_, reinterpret_cast<const char*>(message.data() + 1),
                          static_cast<int>(end - 1), nullptr, nullptr, nullptr, 0);
        return true;
    }
    if (status > 0xF0) {
        return true;
    }
    if (status < 0x80 || message.size() < 1 + dataBytesOf(status)) {
        return false;
    }
    const int channel = status & 0x0F;
    const int data1 = message[1] & 0x7F;
    const int data2 = message.size() > 2 ? message[2] & 0x7F : 0;
    // FluidSynth's results only say that nothing sounded (no preset, no such note); for the
    // sender the message went out.
    switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth_, channel, data1);
            break;
        case 0x90:
            fluid_synth_noteon(synth_, channel, data1, data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth_, channel, data1, data2);
            break;
        case 0xB0:
            if (!isBankSelect(data1) || bankSelectStyle_ != BankSelectStyle::GeneralMidi) {
                fluid_synth_cc(synth_, channel, data1, data2);
            }
            break;
        case 0xC0:
            fluid_synth_program_change(synth_, channel, data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth_, channel, data1);
            break;
        default:
            fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7);
            break;
    }
    return true;
}

void BuiltInSynthesizer::render(std::span<float> left, std::span<float> right) {
    fluid_synth_write_float(synth_, static_cast<int>(std::min(left.size(), right.size())),
                            left.data(), 0, 1, right.data(), 0, 1);
}

void BuiltInSynthesizer::setBankSelectStyle(BankSelectStyle style) {
    bankSelectStyle_ = style;
    if (style != BankSelectStyle::GeneralMidi) {
        return;
    }
    const int channels = fluid_synth_count_midi_channels(synth_);
    for (int channel = 0; channel < channels; ++channel) {
        int soundFontId = 0;
        int bank = 0;
        int program = 0;
        if (fluid_synth_get_program(synth_, channel, &soundFontId, &bank, &program) == FLUID_OK &&
            bank != 0 && bank < kDrumBank) {
            fluid_synth_bank_select(synth_, channel, 0);
            fluid_synth_program_change(synth_, channel, program);
        }
    }
}

void BuiltInSynthesizer::setReverb(const Reverb& reverb) {
    // Group -1 sets every effects group.
    fluid_synth_reverb_on(synth_, -1, reverb.on ? 1 : 0);
    if (reverb.on) {
        fluid_synth_set_reverb_group_roomsize(synth_, -1, reverb.roomSize);
        fluid_synth_set_reverb_group_damp(synth_, -1, reverb.damping);
        fluid_synth_set_reverb_group_width(synth_, -1, reverb.width);
        fluid_synth_set_reverb_group_level(synth_, -1, reverb.level);
    }
}

void BuiltInSynthesizer::setChorus(const Chorus& chorus) {
    fluid_synth_chorus_on(synth_, -1, chorus.on ? 1 : 0);
    if (chorus.on) {
        fluid_synth_set_chorus_group_nr(synth_, -1, chorus.voices);
        fluid_synth_set_chorus_group_level(synth_, -1, chorus.level);
        fluid_synth_set_chorus_group_speed(synth_, -1, chorus.speedHz);
        fluid_synth_set_chorus_group_depth(synth_, -1, chorus.depthMs);
        fluid_synth_set_chorus_group_type(synth_, -1, chorus.wave);
    }
}

std::optional<int> BuiltInSynthesizer::loadSoundFont(const std::filesystem::path& file,
                                                     int bankOffset) {
    // Without resetting the presets: channels keep what they play until their next program
    // change.
    if (!isSoundFont(file)) {
        return std::nullopt;
    }
    const int id = fluid_synth_sfload(synth_, file.c_str(), 0);
    if (id == FLUID_FAILED) {
        return std::nullopt;
    }
    fluid_synth_set_bank_offset(synth_, id, bankOffset);
    return id;
}

bool BuiltInSynthesizer::unloadSoundFont(int id) {
    return fluid_synth_sfunload(synth_, id, 1) == FLUID_OK;
}

std::optional<BuiltInSynthesizer::PresetNames> BuiltInSynthesizer::presetNames(
    const std::filesystem::path& file) {
    if (!isSoundFont(file)) {
        return std::nullopt;
    }
    for (const int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    const std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)> settings(
        new_fluid_settings(), delete_fluid_settings);
    if (!settings) {
        return std::nullopt;
    }
    // Only the names are wanted: the samples stay on disk.
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    const std::unique_ptr<fluid_synth_t, void (*)(fluid_synth_t*)> synth(
        new_fluid_synth(settings.get()), delete_fluid_synth);
    if (!synth) {
        return std::nullopt;
    }
    const int id = fluid_synth_sfload(synth.get(), file.c_str(), 0);
    fluid_sfont_t* soundFont =
        id == FLUID_FAILED ? nullptr : fluid_synth_get_sfont_by_id(synth.get(), id);
    if (soundFont == nullptr) {
        return std::nullopt;
    }
    PresetNames names;
    for (int program = 0; program < kPrograms; ++program) {
        if (fluid_preset_t* preset = fluid_sfont_get_preset(soundFont, 0, program)) {
            names[program] = fluid_preset_get_name(preset);
        }
    }
    return names;
}

std::array<int, 3> BuiltInSynthesizer::libraryVersion() {
    std::array<int, 3> version{};
    fluid_version(&version[0], &version[1], &version[2]);
    return version;
}
