#include "playback/play_list_file.h"

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

using Names = std::vector<std::string>;
using Status = PlayListFile::Status;

// The list read from file, which must be one.
PlayListFile readList(const std::filesystem::path& file) {
    PlayListFile list;
    EXPECT_EQ(PlayListFile::read(file, list), Status::Read) << file;
    return list;
}

TEST(PlayListFile, ReadsTheDirectoryAndTheNamesWholeSkippingEmptyLines) {
    ScratchDir dir;
    // A CR doubled by a transfer ends a line as one does: a line of CRs is an empty one.
    ScratchDir::write(dir / "a.pll",
                      "/music/reels/\nfirst.mid\n\nsecond.mid\r\n\r\r\nthird.mid\r\r\n");
    EXPECT_EQ(readList(dir / "a.pll").directory, "/music/reels/");
    EXPECT_EQ(readList(dir / "a.pll").names, (Names{"first.mid", "second.mid", "third.mid"}));

    // The longest line a path can make, in a file larger than one block of reading.
    const std::string directory = "/" + std::string(PlayListFile::kLongestLine - 2, 'd') + "/";
    const std::string name = std::string(PlayListFile::kLongestLine - 4, 'n') + ".mid";
    std::string text = directory + "\n";
    for (int i = 0; i < 20; ++i) {
        text += name + "\r\n";
    }
    ScratchDir::write(dir / "a.pll", text + "short.mid\n");
    const PlayListFile list = readList(dir / "a.pll");
    EXPECT_EQ(list.directory, directory);
    ASSERT_EQ(list.names.size(), 21u);
    EXPECT_EQ(list.names.front(), name);
    EXPECT_EQ(list.names.back(), "short.mid");

    ScratchDir::write(dir / "empty.pll", "");
    PlayListFile untouched{"/kept/", {"kept.mid"}};
    EXPECT_EQ(PlayListFile::read(dir / "none.pll", untouched), Status::Missing);
    EXPECT_EQ(untouched.directory, "/kept/");
    EXPECT_EQ(readList(dir / "empty.pll").directory, "") << "the caller picks one";
    EXPECT_TRUE(readList(dir / "empty.pll").names.empty());
}

TEST(PlayListFile, WhatIsNotLinesOfTextIsRefusedAndLeavesTheListAlone) {
    ScratchDir dir;
    const std::string song("MThd\0\0\0\6\0\1\0\1\0\x78MTrk\0\0\0\4\0\xff\x2f\0", 26);
    const std::string longLine(PlayListFile::kLongestLine + 1, 'x');
    const std::vector<std::pair<std::string, std::string>> refused{
        {"song.mid", song},
        {"nul.pll", std::string("/music/\na\0.mid\n", 15)},
        {"escape.pll", "/music/\na\x1b[2J.mid\n"},
        {"delete.pll", "/music/\na\x7f.mid\n"},
        {"long_name.pll", "/music/\n" + longLine + "\n"},
        {"long_directory.pll", longLine},
        // The binary part may come after a first block of text.
        {"late.pll", "/music/\n" + std::string(70000, 'a') + "\n" + std::string(1, '\0')},
    };
    for (const auto& [name, content] : refused) {
        ScratchDir::write(dir / name, content);
        PlayListFile untouched{"/kept/", {"kept.mid"}};
        EXPECT_EQ(PlayListFile::read(dir / name, untouched), Status::NotAPlayList) << name;
        EXPECT_EQ(untouched.directory, "/kept/") << name;
        EXPECT_EQ(untouched.names, Names{"kept.mid"}) << name;
    }
    PlayListFile list;
    EXPECT_EQ(PlayListFile::read(dir.path(), list), Status::NotAPlayList) << "a directory";
    EXPECT_EQ(PlayListFile::read("/dev/null", list), Status::NotAPlayList) << "a device";

    ScratchDir::write(dir / "tabs.pll", "/my\tmusic/\n\xc3\xa9t\xc3\xa9.mid\n");
    EXPECT_EQ(readList(dir / "tabs.pll").names, Names{"\xc3\xa9t\xc3\xa9.mid"});
}

TEST(PlayListFile, DirectoryAlwaysEndsInASlash) {
    ScratchDir dir;
    ScratchDir::write(dir / "plain.pll", "/music/reels\na.mid\n");
    ScratchDir::write(dir / "back.pll", "\\music\\reels\\\r\na.mid\r\n");
    ScratchDir::write(dir / "empty.pll", "\na.mid\n");
    EXPECT_EQ(readList(dir / "plain.pll").directory, "/music/reels/");
    EXPECT_EQ(readList(dir / "back.pll").directory, "/music/reels/");
    EXPECT_EQ(readList(dir / "empty.pll").directory, "") << "the caller picks one";
}

TEST(PlayListFile, WritesEachLineWithALineFeedAndReadsItBack) {
    ScratchDir dir;
    const PlayListFile list{"/music/" + std::string(200, 'x') + "/", {"a.mid", "b b.mid"}};
    ASSERT_TRUE(list.write(dir / "a.pll"));
    EXPECT_EQ(ScratchDir::read(dir / "a.pll"), list.directory + "\na.mid\nb b.mid\n");
    EXPECT_EQ(readList(dir / "a.pll").names, list.names);
    EXPECT_EQ(dir.entryCount(), 1) << "no temporary file is left behind";

    EXPECT_FALSE(list.write(dir / "missing" / "a.pll"));
}

}  // namespace
