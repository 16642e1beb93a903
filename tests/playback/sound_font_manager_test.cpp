#include "playback/sound_font_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// The synthesizers here start with this SoundFont rather than whichever the system prefers, so
// that the user bank made from it below differs from the General MIDI sound only where it
// was changed.
constexpr const char* kGmSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kHall2 = 4;
constexpr int kNone = 8;
constexpr int kGeneralMidi = 0;
constexpr int kRolandGs = 1;

std::shared_ptr<BuiltInSynthesizer> silentSynthesizer() {
    return BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None,
                                     BuiltInSynthesizer::kSampleRate, kGmSoundFont);
}

void send(BuiltInSynthesizer& synthesizer, std::vector<std::uint8_t> message) {
    synthesizer.send(message);
}

// The left channel of seconds of sound.
std::vector<float> render(BuiltInSynthesizer& synthesizer, double seconds) {
    const auto frames = static_cast<std::size_t>(seconds * BuiltInSynthesizer::kSampleRate);
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    synthesizer.render(left, right);
    return left;
}

double energy(const std::vector<float>& samples) {
    double sum = 0;
    for (const float sample : samples) {
        sum += double{sample} * sample;
    }
    return sum;
}

// A short note of program on channel 1, then what follows the note-off.
std::vector<float> tailAfterNote(BuiltInSynthesizer& synthesizer, int program) {
    send(synthesizer, {0xC0, static_cast<std::uint8_t>(program)});
    send(synthesizer, {0x90, 60, 127});
    render(synthesizer, 0.2);
    send(synthesizer, {0x80, 60, 0});
    render(synthesizer, 0.3);
    return render(synthesizer, 1.0);
}

// A copy of the General MIDI SoundFont whose programs 0 and 40 trade numbers: its program 0
// is the violin, so it cannot be mistaken for the General MIDI piano.
fs::path soundFontWithViolinAtProgram0(const ScratchDir& dir) {
    std::string bytes = ScratchDir::read(kGmSoundFont);
    const std::size_t headers = bytes.find("phdr", bytes.find("pdta"));
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + headers + 4, 4);
    constexpr std::size_t kHeaderBytes = 38;
    constexpr std::size_t kNameBytes = 20;
    for (std::size_t at = headers + 8; at + kHeaderBytes <= headers + 8 + size;
         at += kHeaderBytes) {
        auto* preset = reinterpret_cast<unsigned char*>(bytes.data() + at + kNameBytes);
        const bool melodic = preset[2] == 0 && preset[3] == 0;
        if (melodic && preset[1] == 0 && (preset[0] == 0 || preset[0] == 40)) {
            preset[0] = preset[0] == 0 ? 40 : 0;
        }
    }
    const fs::path file = dir / "swapped.sf2";
    ScratchDir::write(file, bytes);
    return file;
}

TEST(SoundFontManagerTest, Hall2RingsOnAfterTheNoteOffWhereNoReverbFallsSilent) {
    SoundFontState dryState;
    SoundFontState hallState;
    SoundFontManager dry(silentSynthesizer(), dryState);
    SoundFontManager hall(silentSynthesizer(), hallState);
    ASSERT_EQ(dry.setReverbAndChorus(kNone, kNone), 0);
    ASSERT_EQ(hall.setReverbAndChorus(kHall2, kNone), 0);
    EXPECT_NE(dry.setReverbAndChorus(9, kNone), 0);
    // Program 115, the woodblock, stops at once when its note ends.
    const double dryTail = energy(tailAfterNote(*dry.synthesizer(), 115));
    const double hallTail = energy(tailAfterNote(*hall.synthesizer(), 115));
    EXPECT_GT(hallTail, 1e-3);
    EXPECT_GT(hallTail, 100 * dryTail);
}

TEST(SoundFontManagerTest, BankSelectOfAUserBankPlaysThatSoundFontsPresetInGsStyleOnly) {
    const ScratchDir dir;
    const fs::path userBank = soundFontWithViolinAtProgram0(dir);
    const auto program0AtBank5 = [&](int synthBank) {
        SoundFontState state;
        SoundFontManager manager(silentSynthesizer(), state);
        EXPECT_EQ(manager.loadUserBank(5, userBank), 0);
        EXPECT_EQ(manager.setSynthBank(synthBank), 0);
        send(*manager.synthesizer(), {0xB0, 0, 5});
        return tailAfterNote(*manager.synthesizer(), 0);
    };
    const auto direct = [](int program) {
        auto synthesizer = silentSynthesizer();
        return tailAfterNote(*synthesizer, program);
    };
    EXPECT_EQ(program0AtBank5(kRolandGs), direct(40));
    // General MIDI ignores the bank select and plays the General MIDI piano.
    EXPECT_EQ(program0AtBank5(kGeneralMidi), direct(0));
    EXPECT_NE(direct(0), direct(40));
}

TEST(SoundFontManagerTest, UserBanksLoadClearAndCarryOverToAnotherSynthesizer) {
    const ScratchDir dir;
    SoundFontState state;
    SoundFontManager manager(silentSynthesizer(), state);
    std::string name;
    bool empty = false;
    EXPECT_NE(manager.clearUserBank(1), 0);
    ScratchDir::write(dir / "old.sbk", "SBK not a RIFF file");
    EXPECT_NE(manager.loadUserBank(1, dir / "old.sbk"), 0);
    EXPECT_NE(manager.loadUserBank(128, kGmSoundFont), 0);
    ASSERT_EQ(manager.loadUserBank(2, soundFontWithViolinAtProgram0(dir)), 0);
    ASSERT_EQ(manager.userBank(2, name, empty), 0);
    EXPECT_FALSE(empty);
    EXPECT_EQ(name, (dir / "swapped.sf2").string());
    ASSERT_EQ(manager.setSynthBank(kRolandGs), 0);
    ASSERT_EQ(manager.setReverbAndChorus(kHall2, 0), 0);

    // Another synthesizer given the state plays what this one plays.
    auto copy = silentSynthesizer();
    state.applyTo(*copy);
    for (BuiltInSynthesizer* synthesizer : {manager.synthesizer(), copy.get()}) {
        send(*synthesizer, {0xB0, 0, 2});
    }
    EXPECT_EQ(tailAfterNote(*manager.synthesizer(), 0), tailAfterNote(*copy, 0));

    EXPECT_EQ(manager.clearUserBank(2), 0);
    ASSERT_EQ(manager.userBank(2, name, empty), 0);
    EXPECT_TRUE(empty);
    EXPECT_TRUE(state.userBanks.empty());
    EXPECT_NE(manager.userBank(0, name, empty), 0);
}

}  // namespace
