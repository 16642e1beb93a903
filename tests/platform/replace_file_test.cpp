#include "platform/replace_file.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "support/scratch_dir.h"
#include "support/small_disk.h"

namespace {

namespace fs = std::filesystem;

bool replace(const fs::path& file, const std::string& text) {
    return replaceFile(file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Runs f with writes limited to 1 KB a file.
template <typename F>
auto withSmallDisk(F f) {
    const SmallDisk disk(1024);
    return f();
}

// Root ignores a read-only directory, so the disk "fills up" instead: with a file-size limit
// the write fails half way, as it would on a full disk.
TEST(ReplaceFile, FailureHalfWayLeavesTheOldFileWhole) {
    ScratchDir dir;
    ScratchDir::write(dir / "song", "the previous contents");
    const bool replaced =
        withSmallDisk([&] { return replace(dir / "song", std::string(64 * 1024, 'x')); });

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

TEST(ReplaceFile, StreamedBytesReplaceTheFileOnlyWhenTheWriterFinishes) {
    ScratchDir dir;
    ScratchDir::write(dir / "score", "the previous score");
    const std::string chunk(1000, 'n');
    int written = 0;
    const auto writeChunks = [&](int count) {
        return [&chunk, &written, count](const ByteSink& sink) {
            for (written = 0; written < count; ++written) {
                if (!sink(bytesOf(chunk))) {
                    return false;
                }
            }
            return true;
        };
    };
    ASSERT_TRUE(replaceFile(dir / "score", writeChunks(300)));
    EXPECT_EQ(ScratchDir::read(dir / "score"), std::string(300'000, 'n'));

    // A writer that gives up half way: the streamed part is thrown away.
    ScratchDir::write(dir / "score", "the previous score");
    EXPECT_FALSE(replaceFile(dir / "score", [&](const ByteSink& sink) {
        sink(bytesOf(std::string(200'000, 'h')));
        return false;
    }));
    EXPECT_EQ(ScratchDir::read(dir / "score"), "the previous score");
    EXPECT_EQ(dir.entryCount(), 1);

    // One that throws: the exception reaches the caller, the file is untouched.
    EXPECT_THROW(replaceFile(dir / "score",
                             [&](const ByteSink& sink) -> bool {
                                 sink(bytesOf(chunk));
                                 throw std::runtime_error("out of memory");
                             }),
                 std::runtime_error);
    EXPECT_EQ(ScratchDir::read(dir / "score"), "the previous score");
    EXPECT_EQ(dir.entryCount(), 1);

    // The disk fills up half way: the sink says so, and the writer that stops is not kept,
    // nor is one that carries on regardless.
    EXPECT_FALSE(withSmallDisk([&] { return replaceFile(dir / "score", writeChunks(64)); }));
    EXPECT_EQ(written, 1) << "the sink says at once that the second kilobyte did not fit";
    int calls = 0;
    EXPECT_FALSE(withSmallDisk([&] {
        return replaceFile(dir / "score", [&](const ByteSink& sink) {
            for (int i = 0; i < 64; ++i) {
                ++calls;
                sink(bytesOf(chunk));
            }
            return true;
        });
    }));
    EXPECT_EQ(calls, 64);
    EXPECT_EQ(ScratchDir::read(dir / "score"), "the previous score");
    EXPECT_EQ(dir.entryCount(), 1);
}

TEST(ReplaceFile, AFolderThatCannotBeWrittenIsNotStreamedTo) {
    ScratchDir dir;
    bool asked = false;
    const auto write = [&](const ByteSink& sink) {
        asked = true;
        return sink(bytesOf("score"));
    };
    // Not even root may make files in /proc.
    EXPECT_FALSE(replaceFile("/proc/tolvar32-score.musicxml", write));
    EXPECT_FALSE(replaceFile(dir / "missing" / "score.musicxml", write));
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(replaceFile(dir / "folder", write));
    EXPECT_FALSE(asked);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(fs::exists("/proc/tolvar32-score.musicxml"));
    EXPECT_EQ(dir.entryCount(), 1);
}

}  // namespace
