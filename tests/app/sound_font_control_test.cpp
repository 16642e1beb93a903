#include "app/sound_font_control.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/profile.h"
#include "playback/sound_font_manager.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace keys = settings_keys;

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// One run of the program: a synthesizer, its manager and the control over it, on the
// settings file every run shares.
struct ProgramRun {
    explicit ProgramRun(const std::filesystem::path& settingsFile) : profile(settingsFile) {
        control.start();
    }

    Profile profile;
    ScriptedUi ui;
    Settings settings{profile, ui};
    SoundFontState state;
    SoundFontManager manager{BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None), state};
    SoundFontControl control{manager, settings};
};

class SoundFontControlTest : public ::testing::Test {
protected:
    ScratchDir dir_;
    const std::filesystem::path ini_ = dir_ / "t.ini";
};

TEST_F(SoundFontControlTest, SavedValuesOutOfRangeStartAsBank0AndUserBank1AndFailuresLoadNoBank) {
    Profile profile(ini_);
    profile.write(keys::kConfigSection, keys::kBank.name, "5");
    profile.write(keys::kConfigSection, keys::kReverb.name, "12");
    ProgramRun run(ini_);
    EXPECT_EQ(run.control.synthBank(), 0);
    EXPECT_EQ(run.state.reverbType, 0);
    EXPECT_EQ(run.settings.text(keys::kUserBankNum), "1");
    EXPECT_EQ(run.settings.text(keys::kUserBank), "No User Bank Selected");
    EXPECT_FALSE(run.control.bankLoaded());

    // Failures leave no bank loaded and name the query error.
    EXPECT_FALSE(run.control.clearUserBank());
    ScratchDir::write(dir_ / "old.sbk", "not a SoundFont");
    EXPECT_FALSE(run.control.loadUserBank((dir_ / "old.sbk").string()));
    EXPECT_FALSE(run.control.bankLoaded());
    EXPECT_EQ(run.settings.text(keys::kUserBank), "No User Bank Selected");
    run.control.selectUserBank(200);
    EXPECT_EQ(run.control.userBankName(), "User Bank Error code = 1");
    EXPECT_EQ(run.control.versionText().find("2."), 0u);
    EXPECT_NE(run.control.memoryText().find("Total = "), std::string::npos);
}

TEST_F(SoundFontControlTest, SettingsSurviveARestartUserBankIncluded) {
    {
        ProgramRun first(ini_);
        ASSERT_TRUE(first.control.setReverbAndChorus(4, 2));
        ASSERT_TRUE(first.control.setSynthBank(1));
        first.control.selectUserBank(7);
        ASSERT_TRUE(first.control.loadUserBank(kSoundFont));
        first.control.shutdown();
    }
    ProgramRun second(ini_);
    EXPECT_EQ(second.control.synthBank(), 1);
    EXPECT_EQ(second.control.reverbType(), 4);
    EXPECT_EQ(second.control.chorusType(), 2);
    EXPECT_EQ(second.control.userBankNumber(), 7);
    EXPECT_TRUE(second.control.bankLoaded());
    EXPECT_EQ(second.control.userBankName(), kSoundFont);
    EXPECT_EQ(second.state.userBanks.at(7), kSoundFont);
}

TEST_F(SoundFontControlTest, AFailedSetBankKeepsTheWorkingBankThroughARestart) {
    ScratchDir::write(dir_ / "old.sbk", "not a SoundFont");
    {
        ProgramRun first(ini_);
        ASSERT_TRUE(first.control.loadUserBank(kSoundFont));
        EXPECT_FALSE(first.control.loadUserBank((dir_ / "old.sbk").string()));
        EXPECT_TRUE(first.control.bankLoaded());
        EXPECT_EQ(first.control.userBankName(), kSoundFont);
        first.control.shutdown();
    }
    ProgramRun second(ini_);
    EXPECT_TRUE(second.control.bankLoaded());
    EXPECT_EQ(second.control.userBankName(), kSoundFont);
    EXPECT_TRUE(second.control.clearUserBank());
}

TEST_F(SoundFontControlTest, ALongUserBankPathIsKeptWhole) {
    std::filesystem::path folder = dir_.path();
    for (int depth = 0; depth < 6; ++depth)
        folder /= "a folder whose name alone runs to forty characters";
    std::filesystem::create_directories(folder);
    const std::filesystem::path bank = folder / "bank.sf2";
    std::filesystem::create_symlink(kSoundFont, bank);
    {
        ProgramRun first(ini_);
        ASSERT_TRUE(first.control.loadUserBank(bank.string()));
        first.control.shutdown();
    }
    ProgramRun second(ini_);
    EXPECT_TRUE(second.control.bankLoaded());
    EXPECT_EQ(second.control.userBankName(), bank.string());
}

}  // namespace
