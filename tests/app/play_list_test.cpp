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
        return listAt("list.pll");
    }
    PlayList listAt(const std::string& name) {
        std::optional<PlayList> list = PlayList::open(settings, ui, path(name));
        EXPECT_TRUE(list) << name;
        return std::move(*list);
    }

    ScratchDir dir;
    ScriptedUi ui;
    Profile profile{dir / "tolvar32.ini"};
    Settings settings{profile, ui};
};

TEST_F(PlayListTest, NewListStartsEmptyInTheLastDirectoryAndInsertKeepsTheEndMarkerLast) {
    PlayList list = listAt("new.pll");
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

    PlayList unwritable = listAt("missing/new.pll");
    unwritable.insert(0);
    EXPECT_FALSE(unwritable.save());
    EXPECT_EQ(ui.texts(), Names{"File does not exist, or is read only"});
    EXPECT_TRUE(unwritable.modified());
}

TEST_F(PlayListTest, AFileThatIsNotAPlayListIsRefusedAndNeverWrittenOver) {
    const std::string song("MThd\0\0\0\6\0\0\0\1\0\x78", 14);
    ScratchDir::write(dir / "song.mid", song);
    EXPECT_FALSE(PlayList::open(settings, ui, path("song.mid")));
    EXPECT_EQ(ui.texts(), Names{path("song.mid") + " cannot be read as a play list"});
    EXPECT_EQ(ScratchDir::read(dir / "song.mid"), song);

    EXPECT_FALSE(PlayList::open(settings, ui, dir.path().string()));
    EXPECT_EQ(ui.texts().size(), 2u) << "a directory is refused too";
}

TEST_F(PlayListTest, EndingWithAChangedListAsksAndSavesCancelsOrDropsIt) {
    PlayList unchanged = listOf(songDir() + "\na.mid\n");
    EXPECT_TRUE(unchanged.querySave());
    EXPECT_TRUE(ui.boxes.empty()) << "nothing to ask about";

    PlayList list = listOf(songDir() + "\na.mid\n");
    list.insert(0);
    ui.answerNext(IDCANCEL);
    EXPECT_FALSE(list.querySave());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, path("list.pll") + " has changed. Do you want to save it?");
    EXPECT_EQ(ui.boxes[0].caption, "");
    EXPECT_EQ(ui.boxes[0].type, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(ScratchDir::read(dir / "list.pll"), songDir() + "\na.mid\n");

    ui.answerNext(IDNO);
    EXPECT_TRUE(list.querySave());
    EXPECT_EQ(ScratchDir::read(dir / "list.pll"), songDir() + "\na.mid\n");

    ui.answerNext(IDYES);
    EXPECT_TRUE(list.querySave());
    EXPECT_EQ(ScratchDir::read(dir / "list.pll"), songDir() + "\nA.MID\na.mid\n");

    PlayList unwritable = listAt("missing/new.pll");
    unwritable.insert(0);
    ui.answerNext(IDYES);
    EXPECT_FALSE(unwritable.querySave()) << "a list that could not be saved keeps the program";
    EXPECT_EQ(ui.texts().back(), "File does not exist, or is read only");
}

}  // namespace
