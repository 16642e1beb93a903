#include "playback/play_list_file.h"

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

using Names = std::vector<std::string>;

TEST(PlayListFile, ReadsTheDirectoryAndTheNamesWholeSkippingEmptyLines) {
    ScratchDir dir;
    ScratchDir::write(dir / "a.pll", "/music/reels/\nfirst.mid\n\nsecond.mid\r\nthird.mid");
    EXPECT_EQ(PlayListFile::read(dir / "a.pll")->directory, "/music/reels/");
    EXPECT_EQ(PlayListFile::read(dir / "a.pll")->names,
              (Names{"first.mid", "second.mid", "third.mid"}));

    const std::string directory = "/" + std::string(150, 'd') + "/";
    const std::string name = std::string(120, 'n') + ".mid";
    ScratchDir::write(dir / "a.pll", directory + "\n" + name + "\nshort.mid\n");
    const std::optional<PlayListFile> list = PlayListFile::read(dir / "a.pll");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->directory, directory);
    EXPECT_EQ(list->names, (Names{name, "short.mid"}));

    ScratchDir::write(dir / "empty.pll", "");
    EXPECT_FALSE(PlayListFile::read(dir / "none.pll"));
    EXPECT_FALSE(PlayListFile::read(dir / "empty.pll"));
}

TEST(PlayListFile, DirectoryAlwaysEndsInASlash) {
    ScratchDir dir;
    ScratchDir::write(dir / "plain.pll", "/music/reels\na.mid\n");
    ScratchDir::write(dir / "back.pll", "\\music\\reels\\\r\na.mid\r\n");
    ScratchDir::write(dir / "empty.pll", "\na.mid\n");
    EXPECT_EQ(PlayListFile::read(dir / "plain.pll")->directory, "/music/reels/");
    EXPECT_EQ(PlayListFile::read(dir / "back.pll")->directory, "/music/reels/");
    EXPECT_EQ(PlayListFile::read(dir / "empty.pll")->directory, "") << "the caller picks one";
}

TEST(PlayListFile, WritesEachLineWithALineFeedAndReadsItBack) {
    ScratchDir dir;
    const PlayListFile list{"/music/" + std::string(200, 'x') + "/", {"a.mid", "b b.mid"}};
    ASSERT_TRUE(list.write(dir / "a.pll"));
    EXPECT_EQ(ScratchDir::read(dir / "a.pll"), list.directory + "\na.mid\nb b.mid\n");
    EXPECT_EQ(PlayListFile::read(dir / "a.pll")->names, list.names);
    EXPECT_EQ(dir.entryCount(), 1) << "no temporary file is left behind";

    EXPECT_FALSE(list.write(dir / "missing" / "a.pll"));
}

}  // namespace
