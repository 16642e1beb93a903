#include "app/file_commands.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/song_document.h"
#include "platform/profile.h"
#include "playback/voice_table.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

const std::string kPlayMode = "Currently in PLAY mode, Press Stop to return to normal mode.";
const std::string kReplace = "Do you want to replace the file?";

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest() { settings.setText(settings_keys::kLastDir, dir.path().string()); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    // A changed song with one note, named name in the scratch directory.
    SongDocument& changedSong(const std::string& name) {
        document.fileName = path(name);
        document.song.track(0).add(std::make_unique<Note>(0, 80, 120, 60, 0, 0));
        document.song.changed = true;
        return document;
    }

    ScratchDir dir;
    ScriptedUi ui;
    Profile profile{dir / "tolvar32.ini"};
    Settings settings{profile, ui};
    VoiceTable voices;
    SongTiming timing;
    SongDocument document{timing, ""};
    bool playing = false;
    FileCommands commands{ui, settings, voices, [this] { return playing; }};
};

TEST_F(FileCommandsTest, SaveWritesOnlyAChangedSong) {
    document.fileName = path("a.mid");
    EXPECT_FALSE(commands.save(document));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Changes to save"});
    EXPECT_FALSE(fs::exists(path("a.mid")));

    changedSong("a.mid").loaded = true;
    EXPECT_TRUE(commands.save(document));
    EXPECT_TRUE(fs::exists(path("a.mid")));
    EXPECT_FALSE(document.song.changed);
    EXPECT_EQ(ui.notices, std::vector<std::string>{path("a.mid") + " Saved"});
    EXPECT_EQ(ui.cursors.back(), CursorShape::Arrow);
}

// A song opened without some of its file's tracks would lose them from that file: Save asks
// first, and No writes nothing.
TEST_F(FileCommandsTest, SaveOverAFileWithTracksLeftOutAsksFirst) {
    changedSong("many.mid").loaded = true;
    document.song.trackCount = 20;
    ScratchDir::write(dir / "many.mid", "original");
    ui.answerNext(IDNO);
    EXPECT_FALSE(commands.save(document));
    EXPECT_EQ(ScratchDir::read(dir / "many.mid"), "original");
    EXPECT_TRUE(document.song.changed);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Only 16 of the 20 tracks opened. Saving replaces " +
                                    path("many.mid") + " without the other 4. Save it?");
    EXPECT_EQ(ui.boxes[0].caption, "Tracks Left Out");
    ui.answerNext(IDYES);
    EXPECT_TRUE(commands.save(document));
    EXPECT_NE(ScratchDir::read(dir / "many.mid"), "original");
    EXPECT_EQ(document.song.tracksLeftOut(), 0) << "the file now holds the whole song";
}

TEST_F(FileCommandsTest, NewSongSavesUnderItsNameButAsksBeforeReplacingEarlierWork) {
    document.fileName = commands.newSongName();
    EXPECT_EQ(document.fileName, path("new.mid"));
    changedSong("new.mid");
    EXPECT_TRUE(commands.save(document));
    EXPECT_TRUE(ui.boxes.empty());

    // Another new song must not silently overwrite the first one's file.
    SongDocument second(timing, commands.newSongName());
    second.song.changed = true;
    const std::string before = ScratchDir::read(path("new.mid"));
    ui.answerNext(IDNO);
    EXPECT_FALSE(commands.save(second));
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, kReplace);
    EXPECT_EQ(ui.boxes[0].caption, "File Exists");
    EXPECT_EQ(ui.boxes[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(ui.boxes[1].text, "File not saved");
    EXPECT_EQ(ui.boxes[1].caption, "");
    EXPECT_EQ(ui.boxes[1].type, MB_ICONHAND);
    EXPECT_EQ(ScratchDir::read(path("new.mid")), before);
    EXPECT_TRUE(second.song.changed);
}

TEST_F(FileCommandsTest, SaveAsAsksForANameAndConfirmsReplacing) {
    ScratchDir::write(path("old.mid"), "precious");
    changedSong("a.mid");

    ui.answerFile(std::nullopt);
    EXPECT_FALSE(commands.saveAs(document));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].kind, FileDialogKind::Save);
    EXPECT_EQ(ui.fileDialogs[0].title, "Save MIDI File");
    EXPECT_EQ(ui.fileDialogs[0].filterDescription, "MIDI Files (*.mid)");
    EXPECT_EQ(ui.fileDialogs[0].initialName, path("*.mid"));
    EXPECT_TRUE(ui.boxes.empty());

    ui.answerFile(path("old.mid"));
    ui.answerNext(IDNO);
    EXPECT_FALSE(commands.saveAs(document));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kReplace, "File not saved"}));
    EXPECT_EQ(ScratchDir::read(path("old.mid")), "precious");
    EXPECT_EQ(document.fileName, path("a.mid"));

    ui.answerFile(path("old.mid"));
    ui.answerNext(IDYES);
    EXPECT_TRUE(commands.saveAs(document));
    EXPECT_EQ(document.fileName, path("old.mid"));
    EXPECT_EQ(ScratchDir::read(path("old.mid")).substr(0, 4), "MThd");

    // Save As writes an unchanged song too.
    ui.answerFile(path("copy.mid"));
    EXPECT_TRUE(commands.saveAs(document));
    EXPECT_TRUE(fs::exists(path("copy.mid")));
}

// A name typed without an extension would be written as it is and then hidden by Open's
// "*.mid" filter.
TEST_F(FileCommandsTest, SaveAsAddsTheExtensionOnlyToANameWithout) {
    changedSong("a.mid");
    ui.answerFile(path("ode"));
    EXPECT_TRUE(commands.saveAs(document));
    EXPECT_EQ(document.fileName, path("ode.mid"));
    EXPECT_EQ(ScratchDir::read(path("ode.mid")).substr(0, 4), "MThd");
    EXPECT_FALSE(fs::exists(path("ode")));

    // The completed name is the one whose replacement is asked about.
    ui.answerFile(path("ode"));
    ui.answerNext(IDNO);
    EXPECT_FALSE(commands.saveAs(document));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{kReplace, "File not saved"}));

    for (const char* kept : {"song.midi", "take.2.kar", "Ode.MID"}) {
        ui.answerFile(path(kept));
        EXPECT_TRUE(commands.saveAs(document));
        EXPECT_EQ(document.fileName, path(kept));
        EXPECT_TRUE(fs::exists(path(kept))) << kept;
    }
    // A dot in a directory's name is not the file's extension.
    fs::create_directory(dir / "v1.0");
    ui.answerFile((dir / "v1.0" / "ode").string());
    EXPECT_TRUE(commands.saveAs(document));
    EXPECT_EQ(document.fileName, (dir / "v1.0" / "ode.mid").string());
}

TEST_F(FileCommandsTest, ANewPlayListNameGetsItsExtensionAnExistingFileKeepsItsName) {
    ui.answerFile(path("mylist"));
    EXPECT_EQ(commands.choosePlayList(), path("mylist.pll"));
    ui.answerFile(path("evening.lst"));
    EXPECT_EQ(commands.choosePlayList(), path("evening.lst"));
    ScratchDir::write(path("oldlist"), path("") + "\na.mid\n");
    ui.answerFile(path("oldlist"));
    EXPECT_EQ(commands.choosePlayList(), path("oldlist"));
    ui.answerFile(std::nullopt);
    EXPECT_EQ(commands.choosePlayList(), std::nullopt);
}

TEST_F(FileCommandsTest, QuerySaveAnswersByTheUsersChoiceAndRefusesInPlayMode) {
    EXPECT_TRUE(commands.querySave(nullptr));
    EXPECT_TRUE(commands.querySave(&document));  // unchanged: nothing to ask
    EXPECT_TRUE(ui.boxes.empty());

    changedSong("q.mid").loaded = true;
    ui.answerNext(IDCANCEL);
    EXPECT_FALSE(commands.querySave(&document));
    EXPECT_EQ(ui.boxes.back().text, path("q.mid") + " has changed. Do you want to save it?");
    EXPECT_EQ(ui.boxes.back().caption, "");
    EXPECT_EQ(ui.boxes.back().type, MB_YESNOCANCEL | MB_ICONQUESTION);
    ui.answerNext(IDNO);
    EXPECT_TRUE(commands.querySave(&document));
    EXPECT_FALSE(fs::exists(path("q.mid")));
    ui.answerNext(IDYES);
    EXPECT_TRUE(commands.querySave(&document));
    EXPECT_TRUE(fs::exists(path("q.mid")));

    // A Yes whose save fails keeps the song open rather than dropping it.
    document.fileName = path("missing/dir/q.mid");
    document.song.changed = true;
    ui.answerNext(IDYES);
    EXPECT_FALSE(commands.querySave(&document));

    // Play mode refuses with the message on the message line, not a box.
    const std::size_t boxes = ui.boxes.size();
    ui.notices.clear();
    playing = true;
    EXPECT_TRUE(commands.refusedInPlayMode());
    EXPECT_FALSE(commands.querySave(&document));
    EXPECT_EQ(ui.notices, (std::vector<std::string>{kPlayMode, kPlayMode}));
    EXPECT_EQ(ui.boxes.size(), boxes);
    playing = false;
    EXPECT_FALSE(commands.refusedInPlayMode());
}

TEST_F(FileCommandsTest, LoadNamesTheSongAndRemembersItsDirectory) {
    changedSong("song.mid").loaded = true;
    ASSERT_TRUE(commands.save(document));
    EXPECT_EQ(settings.lastDir(), dir.path().string());
    fs::create_directory(dir / "other");
    settings.setText(settings_keys::kLastDir, (dir / "other").string());

    SongDocument opened(timing, commands.newSongName());
    ui.answerFile(path("song.mid"));
    const std::optional<std::string> chosen = commands.chooseSongToOpen();
    EXPECT_EQ(ui.fileDialogs.back().initialName, (dir / "other" / "*.mid").string());
    EXPECT_EQ(ui.fileDialogs.back().title, "Open MIDI File");
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(commands.load(opened, *chosen));
    EXPECT_EQ(opened.fileName, path("song.mid"));
    EXPECT_TRUE(opened.loaded);
    EXPECT_FALSE(opened.song.changed);
    EXPECT_FALSE(opened.song.track(0).empty());
    EXPECT_EQ(settings.lastDir(), dir.path().string());
}

TEST_F(FileCommandsTest, SaveReplacesAFileWithALongPathAndWritesNoOther) {
    const fs::path deep = dir / std::string(120, 'd') / std::string(120, 'e');
    fs::create_directories(deep);
    const std::string file = (deep / "a long song name.mid").string();
    ASSERT_GT(file.size(), 273u);
    changedSong("x.mid");
    document.fileName = file;
    document.loaded = true;
    ASSERT_TRUE(commands.save(document));

    SongDocument opened(timing, "");
    ASSERT_TRUE(commands.load(opened, file));
    EXPECT_EQ(opened.fileName, file);
    EXPECT_EQ(settings.lastDir(), deep.string()) << "the directory is remembered whole";
    EXPECT_EQ(commands.newSongName(), (deep / "new.mid").string());
    opened.song.track(1).add(std::make_unique<Note>(0, 80, 120, 62, 0, 1));
    opened.song.changed = true;
    ASSERT_TRUE(commands.save(opened));
    EXPECT_EQ(ui.notices.back(), file.substr(0, 80) + " Saved");

    SongDocument reread(timing, "");
    ASSERT_TRUE(commands.load(reread, file));
    EXPECT_FALSE(reread.song.track(1).empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(deep), fs::directory_iterator()), 1);
}

TEST_F(FileCommandsTest, CommandLineNamesOfAnyLengthResolveWhole) {
    const std::string relative = std::string(150, 'r') + "/" + std::string(150, 's') + "/x.mid";
    EXPECT_EQ(FileCommands::commandLinePath(relative),
              (fs::current_path() / relative).lexically_normal().string());
    EXPECT_EQ(FileCommands::commandLinePath("/a/./b/../c.mid"), "/a/c.mid");
    EXPECT_EQ(FileCommands::commandLinePath(""), "");
}

}  // namespace
