#include "notation/status_bar.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusBarTest, FileNameFieldShortensToThePanel) {
    EXPECT_EQ(StatusBar::fileNameField("/a.mid", 600), "");
    EXPECT_EQ(StatusBar::fileNameField("/ab.mid", 600), "");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 600), "/ho.../reel.mid");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 280 + 8 * 5), "/ho.....");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 285), "...");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 200), "/ho.../reel.mid");
}

}  // namespace
