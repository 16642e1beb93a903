#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>

#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

bool replace(const fs::path& file, const std::string& text) {
    return replaceFile(file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Root ignores a read-only directory, so the disk "fills up" instead: with a file-size limit
// the write fails half way, as it would on a full disk.
TEST(ReplaceFile, FailureHalfWayLeavesTheOldFileWhole) {
    ScratchDir dir;
    ScratchDir::write(dir / "song", "the previous contents");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{1024, saved.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool replaced = replace(dir / "song", std::string(64 * 1024, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(replaced);
    EXPECT_EQ(ScratchDir::read(dir / "song"), "the previous contents");
    EXPECT_EQ(dir.entryCount(), 1) << "no temporary file is left behind";
}

TEST(ReplaceFile, KeepsPermissionsFollowsLinksAndRefusesWhatIsNotAFile) {
    ScratchDir dir;
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    ScratchDir::write(dir / "target", "old");
    fs::permissions(dir / "target", mode);
    fs::create_symlink(dir / "target", dir / "link");
    ASSERT_TRUE(replace(dir / "link", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(ScratchDir::read(dir / "target"), "new");
    EXPECT_EQ(fs::status(dir / "target").permissions(), mode);

    ASSERT_TRUE(replace(dir / "fresh", "made"));
    EXPECT_EQ(ScratchDir::read(dir / "fresh"), "made");

    // What is not a file in an existing directory is refused.
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(replace(dir / "folder", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(replace(dir / "missing" / "file", "x"));
    ScratchDir::write(dir / "plain", "a file");
    EXPECT_FALSE(replace(dir / "plain" / "file", "x"));
    EXPECT_EQ(dir.entryCount(), 5);
}

}  // namespace
