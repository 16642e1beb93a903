#include "playback/voice_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class VoiceTableTest : public ::testing::Test {
protected:
    fs::path put(const std::string& bytes) const {
        ScratchDir::write(dir_ / "synth.syn", bytes);
        return dir_ / "synth.syn";
    }
    std::string bytes() const { return ScratchDir::read(dir_ / "synth.syn"); }
    // Lines "Voice 1" .. "Voice n".
    static std::string voices(int n) {
        std::string text;
        for (int i = 1; i <= n; ++i) {
            text += "Voice " + std::to_string(i) + "\n";
        }
        return text;
    }
    VoiceTable startup(const std::string& synFile) const {
        VoiceTable table;
        table.loadAtStartup(synFile);
        return table;
    }
    VoiceTable reloaded(const fs::path& file) const {
        VoiceTable table;
        table.reload(file);
        return table;
    }

    ScratchDir dir_;
};

// A blank line keeps its program; a long line is cut to 13 bytes, without half of a UTF-8
// character, and its rest is not the next name.
TEST_F(VoiceTableTest, EveryLineNamesItsOwnProgramAtStartupAndOnReload) {
    const fs::path file = put("ABCDEFGHIJKLMNOPQRST\n\nNext\n123456789012\xC3\xBC\n");
    for (const VoiceTable& table : {startup(file), reloaded(file)}) {
        EXPECT_EQ(table.count(), 4);
        EXPECT_EQ(table.name(0), "ABCDEFGHIJKLM");
        EXPECT_EQ(table.name(1), "");
        EXPECT_EQ(table.name(2), "Next");
        EXPECT_EQ(table.name(3), "123456789012");
    }
}

TEST_F(VoiceTableTest, CarriageReturnEndingALineIsNotPartOfTheName) {
    const VoiceTable table = startup(put("Piano\r\nABCDEFGHIJKLM\r\n\r\nA\rB\r\nLast\r"));
    EXPECT_EQ(table.count(), 5);
    EXPECT_EQ(table.name(1), "ABCDEFGHIJKLM");
    EXPECT_EQ(table.name(2), "");
    EXPECT_EQ(table.name(3), "A\rB");
    EXPECT_EQ(table.name(4), "Last");

    // A name that kept a CR at its end would lose it on the first save.
    VoiceTable doubled = reloaded(put("one\r\r\ntwo\r\r\rX\nABCDEFGHIJKL\rMNO\n"));
    EXPECT_EQ(doubled.name(0), "one");
    EXPECT_EQ(doubled.name(1), "two\r\r\rX");
    EXPECT_EQ(doubled.name(2), "ABCDEFGHIJKL") << "cut before the CR";
}

TEST_F(VoiceTableTest, ReadingStopsAt130NamesBlankLinesIncluded) {
    const fs::path file = put("\n\n" + voices(140));
    for (const VoiceTable& table : {startup(file), reloaded(file)}) {
        EXPECT_EQ(table.count(), 130);
        EXPECT_EQ(table.name(129), "Voice 128");
    }
    EXPECT_EQ(reloaded(put(voices(128))).name(127), "Voice 128");
    EXPECT_EQ(reloaded(put(voices(127))).name(127), "") << "program 127 needs all 128 names";
}

TEST_F(VoiceTableTest, FileThatCannotBeOpenedLeavesOnlyNone) {
    VoiceTable table = startup(put(voices(3)));
    EXPECT_FALSE(table.reload(dir_ / "missing.syn"));
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.name(-1), "--NONE--");
    EXPECT_EQ(table.name(0), "");
    EXPECT_EQ(startup(dir_ / "missing.syn").count(), 0);
}

TEST_F(VoiceTableTest, SaveWritesEveryNameCutTo13) {
    VoiceTable table = reloaded(put("Piano\n\nABCDEFGHIJKLMNOPQRST\r\n"));
    EXPECT_TRUE(table.setName(1, "A very long new name"));
    EXPECT_FALSE(table.setName(4, "Beyond"));
    EXPECT_FALSE(table.setName(1, "Two\nlines"));
    ASSERT_TRUE(table.save());
    EXPECT_EQ(bytes(), "A very long n\n\nABCDEFGHIJKLM\n");
}

TEST_F(VoiceTableTest, AssignedNamesKeepTheirProgramsAndSaveToTheGivenFile) {
    VoiceTable table;
    const std::vector<std::string> names{"Grand Piano", "", "A name of twenty ch", "Two\nlines"};
    table.assign(names, dir_ / "synth.syn");
    EXPECT_EQ(table.count(), 4);
    EXPECT_EQ(table.name(1), "");
    EXPECT_EQ(table.name(2), "A name of twe");
    EXPECT_EQ(table.name(3), "Two");
    ASSERT_TRUE(table.save());
    EXPECT_EQ(bytes(), "Grand Piano\n\nA name of twe\nTwo\n");
}

// The shipped names are the installation's: a rename is saved elsewhere or not at all.
TEST_F(VoiceTableTest, StartupWithoutSynFileReadsTheShippedNamesAndNeverWritesThem) {
    VoiceTable table = startup("");
    EXPECT_EQ(table.count(), 128);
    EXPECT_EQ(table.name(0), "Acoustic Gran");
    EXPECT_EQ(table.name(127), "Gunshot");
    const fs::path shipped = table.path();
    const std::string before = ScratchDir::read(shipped);
    ASSERT_TRUE(table.setName(1, "Mine"));
    EXPECT_FALSE(table.save());
    EXPECT_FALSE(table.saveAs(dir_ / "missing folder" / "synth.syn"));
    EXPECT_EQ(table.path(), shipped);
    ASSERT_TRUE(table.saveAs(dir_ / "synth.syn"));
    EXPECT_EQ(table.path(), dir_ / "synth.syn");
    EXPECT_EQ(bytes().substr(0, 5), "Mine\n");
    EXPECT_EQ(ScratchDir::read(shipped), before);
}

}  // namespace
