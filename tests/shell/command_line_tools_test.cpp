#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "shell/command_line_tools.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

// A reel that abc2midi wrote from tests/smf/data/reel.abc: a file from another program.
const fs::path kReel = fs::path(TOLVAR32_TEST_DATA_DIR) / "reel_from_abc2midi.mid";

struct ToolRun {
    std::optional<int> status;
    std::string out;
    std::string err;
};

ToolRun run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "tolvar32");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> status = runCommandLineTool(argv, out, err);
    return {status, out.str(), err.str()};
}

class CommandLineToolsTest : public ::testing::Test {
protected:
    // The tools read the voice names as the program does; keep the user's settings out.
    void SetUp() override { setenv("TOLVAR32_INI", (dir_ / "tolvar32.ini").c_str(), 1); }
    void TearDown() override { unsetenv("TOLVAR32_INI"); }
    ScratchDir dir_;
};

TEST_F(CommandLineToolsTest, SummaryOfAFileFromAnotherProgram) {
    const ToolRun summary = run({"--summary", kReel.string()});
    EXPECT_EQ(summary.status, 0);
    EXPECT_EQ(summary.err, "");
    EXPECT_EQ(summary.out,
              "Type: 1\n"
              "Length (min): 1:09\n"
              "Division: 480\n"
              "Tempo: 110\n"
              "Time signature: 4/4\n"
              "Key signature: 1\n"
              " 1\t    4\t      --NONE--\n"
              " 2\t  188\t        Violin\n"
              " 3\t   97\t Acoustic Gran\n");
    EXPECT_FALSE(fs::exists(dir_ / "tolvar32.ini")) << "the tools change no settings";
}

TEST_F(CommandLineToolsTest, ConvertKeepsEveryNoteAndEvent) {
    const ToolRun before = run({"--events", kReel.string()});
    EXPECT_EQ(before.status, 0);
    EXPECT_EQ(std::count(before.out.begin(), before.out.end(), '\n'), 289);
    EXPECT_NE(before.out.find("T2 1 note 67 105 239 1\n"), std::string::npos);

    const fs::path copy = dir_ / "copy.mid";
    const ToolRun convert = run({"--convert", kReel.string(), copy.string()});
    EXPECT_EQ(convert.status, 0);
    EXPECT_EQ(convert.out + convert.err, "");
    EXPECT_EQ(run({"--events", copy.string()}).out, before.out);
}

TEST_F(CommandLineToolsTest, FailuresPrintTheMessageAndExitWithOne) {
    const ToolRun missing = run({"--events", (dir_ / "none.mid").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Error: " + (dir_ / "none.mid").string() + " Not found\n");

    const ToolRun unwritable = run({"--convert", kReel.string(), (dir_ / "no/dir/x.mid").string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, "Error: File does not exist, or is read only\n");

    EXPECT_EQ(run({"--summary"}).status, 2);
    EXPECT_EQ(run({"--frobnicate"}).status, 2);
    EXPECT_EQ(run({"--version"}).out.rfind("tolvar 32 ", 0), 0u);
    EXPECT_EQ(run({"song.mid"}).status, std::nullopt) << "a song to open is not a tool";
    EXPECT_EQ(run({}).status, std::nullopt);
}

}  // namespace
