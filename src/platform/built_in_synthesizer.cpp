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

}  // namespace

std::unique_ptr<BuiltInSynthesizer> BuiltInSynthesizer::start(
    Audio audio, int sampleRateHz, const std::filesystem::path& soundFontFile) {
    const std::filesystem::path soundFontPath = soundFontFile.empty() ? soundFont() : soundFontFile;
    // A file that is not a SoundFont is refused here: handed to FluidSynth, it makes a library
    // underneath complain on the error stream.
    if (soundFontPath.empty() || !fluid_is_soundfont(soundFontPath.c_str())) {
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
        synthesizer->driver_ = new_fluid_audio_driver(synthesizer->settings_, synthesizer->synth_);
    }
    return synthesizer;
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
            fluid_synth_cc(synth_, channel, data1, data2);
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
