#include "app/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/profile.h"
#include "support/scripted_ui.h"

namespace fs = std::filesystem;
namespace keys = settings_keys;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    ~SettingsTest() override { fs::remove(file_); }

    std::string bytes() const {
        std::stringstream content;
        content << std::ifstream(file_, std::ios::binary).rdbuf();
        return content.str();
    }
    WindowPlacement control() const {
        return settings_.readPlacement("Control", 0, 0, 639, 479, {});
    }

    const fs::path file_ =
        fs::path(::testing::TempDir()) /
        ("settings_" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
         std::to_string(getpid()) + ".ini");
    Profile profile_{file_};
    ScriptedUi ui_;
    Settings settings_{profile_, ui_};
};

TEST_F(SettingsTest, MissingFileGivesEveryDefaultAndStoresOnlyLastDir) {
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/home/tester/", 1);
    EXPECT_EQ(std::vector({settings_.division(), settings_.tempo(), settings_.velocity(),
                           settings_.barsPerPage(), settings_.number(keys::kUserBankNum)}),
              std::vector({120, 120, 80, 4, 0}));
    EXPECT_TRUE(settings_.staffNotation() && settings_.animate() && settings_.maximizeStaff() &&
                settings_.playListPause());
    EXPECT_FALSE(settings_.hide() || settings_.maximizeControl() || settings_.useAwe());
    EXPECT_EQ(settings_.text(keys::kUserBank), "No User Bank Selected");
    EXPECT_EQ(settings_.board() + settings_.inBoard() + settings_.text(keys::kSynFile),
              "Built-in Synthesizer-NONE-");
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_FALSE(fs::exists(file_));

    EXPECT_EQ(settings_.lastDir(), "/home/tester");
    setenv("HOME", "/elsewhere", 1);
    EXPECT_EQ(settings_.lastDir(), "/home/tester");
    EXPECT_EQ(bytes(), "[tolvar32 Config]\nLastDir=/home/tester\n");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(SettingsTest, NumbersAreCutThenParsedLenientlyAndWordsCompareExactly) {
    settings_.setText(keys::kDivision, "1000");
    EXPECT_EQ(settings_.division(), 120);
    ASSERT_EQ(ui_.texts(), std::vector<std::string>{"Invalid division in .ini, reset to 120"});
    EXPECT_EQ(ui_.boxes[0].caption, "Error");
    EXPECT_EQ(ui_.boxes[0].type, MB_ICONHAND);

    settings_.setText(keys::kUserBankNum, "1234567890123");
    EXPECT_EQ(settings_.number(keys::kUserBankNum, 9), 123456789);
    EXPECT_EQ(settings_.number(keys::kUserBankNum), INT_MAX);
    const std::pair<const char*, int> cases[] = {
        {"  -77x9", -77}, {"-99999999999", INT_MIN}, {"+", 0}, {"abc", 0}, {"+12", 12}};
    for (const auto& [stored, expected] : cases) {
        settings_.setText(keys::kBank, stored);
        EXPECT_EQ(settings_.number(keys::kBank), expected) << stored;
    }
    settings_.setNumber(keys::kReverb, -3);
    EXPECT_EQ(settings_.text(keys::kReverb), "-3");

    // Words and flags compare exactly.
    settings_.setText(keys::kAnimate, "no");
    settings_.setText(keys::kHide, "yes");
    settings_.setText(keys::kStaffOrPiano, "staff");
    EXPECT_TRUE(settings_.animate() && !settings_.hide() && !settings_.staffNotation(7));
    settings_.setFlag(keys::kAnimate, false);
    settings_.setFlag(keys::kHide, true);
    settings_.setText(keys::kStaffOrPiano, "STAFF");
    EXPECT_TRUE(!settings_.animate() && settings_.hide() && settings_.staffNotation(7));
    EXPECT_EQ(settings_.text(keys::kHide), "Yes");
}

TEST_F(SettingsTest, CheckedNumbersAcceptTheirBoundsAndResetOutside) {
    const auto check = [&](const SettingKey& key, int (Settings::*read)() const, const char* stored,
                           int expected, const char* message = nullptr) {
        ui_.boxes.clear();
        settings_.setText(key, stored);
        EXPECT_EQ((settings_.*read)(), expected) << key.name << "=" << stored;
        EXPECT_EQ(ui_.texts(),
                  message ? std::vector<std::string>{message} : std::vector<std::string>{});
    };
    const char* badTempo = "Invalid Tempo in .ini, reset to 120";
    check(keys::kTempo, &Settings::tempo, "-5", 120, badTempo);
    check(keys::kTempo, &Settings::tempo, "241", 120, badTempo);
    check(keys::kTempo, &Settings::tempo, "8", 8);
    check(keys::kTempo, &Settings::tempo, "240", 240);
    const char* badVelocity = "Invalid Velocity in .ini, reset to 80";
    check(keys::kVelocity, &Settings::velocity, "128", 80, badVelocity);
    check(keys::kVelocity, &Settings::velocity, "-1", 80, badVelocity);
    check(keys::kVelocity, &Settings::velocity, "1", 80, badVelocity);
    check(keys::kVelocity, &Settings::velocity, "2", 2);
    const char* badDivision = "Invalid division in .ini, reset to 120";
    check(keys::kDivision, &Settings::division, "48", 48);
    check(keys::kDivision, &Settings::division, "768", 768);
    check(keys::kDivision, &Settings::division, "792", 120, badDivision);
    check(keys::kDivision, &Settings::division, "24", 120, badDivision);
    const char* badBeats = "Invalid Number of Beats in .ini, reset to 4";
    check(keys::kNumberOfBeats, &Settings::barsPerPage, "2", 2);
    check(keys::kNumberOfBeats, &Settings::barsPerPage, "5", 4, badBeats);
    check(keys::kNumberOfBeats, &Settings::barsPerPage, "-3", 4, badBeats);
}

TEST_F(SettingsTest, PlacementFallsBackPerEdgeAndClampsOnlyTheStaff) {
    EXPECT_EQ(control(), (WindowPlacement{0, 0, 439, 379}));
    settings_.savePlacement("Control", 12, 34, 600, 379);
    EXPECT_EQ(control(), (WindowPlacement{12, 34, 600, 379}));
    EXPECT_NE(bytes().find("Control.top=12\nControl.left=34\nControl.right=600\n"),
              std::string::npos);
    settings_.savePlacement("Control", -1, 2001, 520, 378);
    EXPECT_EQ(control(), (WindowPlacement{0, 0, 439, 379}));
    settings_.savePlacement("Control", 2000, 0, 2001, 2001);
    EXPECT_EQ(control(), (WindowPlacement{2000, 0, 439, 379}));

    const std::pair<int, int> frame{800, 600};
    EXPECT_EQ(settings_.readPlacement("Staff", 42, 0, 600, 350, {}),
              (WindowPlacement{42, 0, 400, 250}));
    settings_.savePlacement("Staff", 5, 6, 900, 700);
    settings_.savePlacement("Control", 5, 6, 900, 700);
    EXPECT_EQ(settings_.readPlacement("Staff", 42, 0, 600, 350, frame),
              (WindowPlacement{5, 6, 800, 600}));
    EXPECT_EQ(settings_.readPlacement("Control", 0, 0, 639, 479, frame),
              (WindowPlacement{5, 6, 900, 700}));

    // A window at the screen's top left edge stays there, whatever the fallback.
    settings_.savePlacement("Staff", 0, 0, 600, 350);
    EXPECT_EQ(settings_.readPlacement("Staff", 42, 17, 600, 350, frame),
              (WindowPlacement{0, 0, 600, 350}));
}

// A settings file that could not be written lost every change without a word.
TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenSaysSoOnceWithTheReason) {
    std::ofstream(file_) << "[tolvar32 Config]\n";
    // Its directory is a file: no user, root included, can write there.
    const fs::path blockedFile = file_ / "tolvar32.ini";
    Profile blocked(blockedFile);
    Settings settings(blocked, ui_);
    EXPECT_FALSE(settings.setNumber(keys::kTempo, 90));
    EXPECT_FALSE(settings.setFlag(keys::kHide, true));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, "The settings file " + blockedFile.string() +
                                     " cannot be written (Not a directory). Settings changed "
                                     "now will not be kept.");
    EXPECT_EQ(ui_.boxes[0].caption, "Settings");

    // A value no file could hold is refused without blaming the file.
    ui_.boxes.clear();
    EXPECT_FALSE(settings_.setText(keys::kLastDir, "two\nlines"));
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_TRUE(settings_.setText(keys::kLastDir, "/music"));
    EXPECT_TRUE(ui_.boxes.empty());
}

// The window's export is normalized unless the settings say otherwise; the gain counts only
// then.
TEST_F(SettingsTest, TheExportLevelIsNormalizedUnlessTurnedOffThenTheGainCounts) {
    const auto level = [&] { return settings_.exportLevel(); };
    EXPECT_EQ(level().normalizePeakDb, -1.0);
    settings_.setText(keys::kExportGain, "12");
    EXPECT_EQ(level().normalizePeakDb, -1.0);
    EXPECT_EQ(level().gainDb, 0.0) << "normalizing sets the level alone";
    settings_.setText(keys::kExportNormalize, "No");
    EXPECT_EQ(level().normalizePeakDb, std::nullopt);
    EXPECT_EQ(level().gainDb, 12.0);
    settings_.setText(keys::kExportGain, "-40");
    EXPECT_EQ(level().gainDb, -40.0);
    EXPECT_TRUE(ui_.boxes.empty());
    for (const char* bad : {"41", "-41"}) {
        ui_.boxes.clear();
        settings_.setText(keys::kExportGain, bad);
        EXPECT_EQ(level().gainDb, 0.0) << bad;
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Invalid Export Gain in .ini, reset to 0"});
    }
    settings_.setText(keys::kExportNormalize, "yes");
    EXPECT_EQ(level().normalizePeakDb, std::nullopt) << "only exactly Yes";
}

TEST_F(SettingsTest, TheMetronomeIsOffWithWoodBlocksUntilSetAndOddNumbersAreTakenIntoRange) {
    MetronomeOptions options = settings_.metronome();
    EXPECT_FALSE(options.forPlay || options.forRecord || options.eighthsInCompound);
    EXPECT_EQ(std::vector({options.countInBars, options.accentKey, options.accentVelocity,
                           options.beatKey, options.beatVelocity}),
              std::vector({0, 76, 100, 77, 80}));
    options.forRecord = true;
    options.countInBars = 2;
    EXPECT_TRUE(settings_.setMetronome(options));
    EXPECT_EQ(bytes(),
              "[Practice]\nMetronome for Play=No\nMetronome for Record=Yes\n"
              "Click Eighths in Compound Meters=No\nCount-in Bars=2\n");
    settings_.setText(keys::kCountInBars, "7");
    settings_.setText(keys::kAccentKey, "200");
    settings_.setText(keys::kAccentVelocity, "0");
    settings_.setText(keys::kBeatKey, "-3");
    settings_.setText(keys::kBeatVelocity, "999");
    options = settings_.metronome();
    EXPECT_EQ(std::vector({options.countInBars, options.accentKey, options.accentVelocity,
                           options.beatKey, options.beatVelocity}),
              std::vector({2, 127, 1, 0, 127}));
    EXPECT_TRUE(options.forRecord);
    EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(SettingsTest, AHomeAtTheRootIsTheLastDirectoryAsItIs) {
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/", 1);
    EXPECT_EQ(settings_.lastDir(), "/");
    EXPECT_EQ(bytes(), "[tolvar32 Config]\nLastDir=/\n");
    setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
