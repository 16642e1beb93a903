#include "app/play_list.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/profile.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

using Names = std::vector<std::string>;

class PlayListTest : public ::testing::Test {
protected:
    PlayListTest() {
        settings.setText(settings_keys::kLastDir, dir.path().string());
        for (const char* name : {"b.mid", "A.MID", "c.mid", "notes.txt"}) {
            ScratchDir::write(dir / name, "");
        }
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string songDir() const { return dir.path().string() + "/"; }
    PlayList listOf(const std::string& lines) {
        ScratchDir::write(dir / "list.pll", lines);
        return PlayList(settings, ui, path("list.pll"));
    }

    ScratchDir dir;
    ScriptedUi ui;
    Profile profile{dir / "tolvar32.ini"};
    Settings settings{profile, ui};
};

TEST_F(PlayListTest, NewListStartsEmptyInTheLastDirectoryAndInsertKeepsTheEndMarkerLast) {
    PlayList list(settings, ui, path("new.pll"));
    EXPECT_EQ(list.directory(), songDir());
    EXPECT_TRUE(list.entries().empty());
    EXPECT_EQ(list.selected(), 0) << "the end marker";
    EXPECT_EQ(list.midiFiles(), (Names{"A.MID", "b.mid", "c.mid"}));
    EXPECT_TRUE(list.pauseAfterEach);

    // Insert goes before the selection and never after the end marker.
    for (const int file : {2, 0, 1}) {
        list.insert(file);
    }
    EXPECT_EQ(list.entries(), (Names{"c.mid", "A.MID", "b.mid"}));
    EXPECT_EQ(list.selected(), 3);
    list.select(1);
    list.insert(2);
    EXPECT_EQ(list.entries(), (Names{"c.mid", "c.mid", "A.MID", "b.mid"}));
    list.select(PlayList::kNoSelection);
    list.insert(0);
    EXPECT_EQ(list.entries().back(), "A.MID") << "nothing selected: before the end marker";
    list.insert(7);
    EXPECT_EQ(list.entryCount(), 5);
    EXPECT_TRUE(list.modified());
}

TEST_F(PlayListTest, SaveWritesOnlyAChangedListAlwaysStoresThePauseAndSaysWhenItCannot) {
    PlayList list = listOf("/elsewhere\r\na.mid\r\n");
    list.pauseAfterEach = false;
    EXPECT_TRUE(list.save());
    EXPECT_EQ(ScratchDir::read(dir / "list.pll"), "/elsewhere\r\na.mid\r\n");
    EXPECT_EQ(settings.text(settings_keys::kPlayListPause), "No");

    list.select(0);
    list.deleteSelected();
    EXPECT_TRUE(list.save());
    EXPECT_EQ(ScratchDir::read(dir / "list.pll"), "/elsewhere/\n");
    EXPECT_FALSE(list.modified());

    PlayList unwritable(settings, ui, path("missing/new.pll"));
    unwritable.insert(0);
    EXPECT_FALSE(unwritable.save());
    EXPECT_EQ(ui.texts(), Names{"File does not exist, or is read only"});
    EXPECT_TRUE(unwritable.modified());
}

}  // namespace
