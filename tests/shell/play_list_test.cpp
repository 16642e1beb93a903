#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "main_window_fixture.h"
#include "model/pitch.h"
#include "shell/play_list_window.h"

namespace {

using Names = std::vector<std::string>;

// The play list through the main window: File > Play List..., the Play List window's controls,
// and its songs played one after another into the recording ports on the manual clock.
class PlayListTest : public MainWindowTest {
protected:
    // Three one-second songs, each two notes of its own pitch; their names sort otherwise
    // than the list plays them.
    void startWithSongs() {
        start();
        for (const auto& [name, position] : std::vector<std::pair<std::string, int>>{
                 {"c.mid", 60}, {"a.mid", 50}, {"b.mid", 40}}) {
            SongTiming timing;
            OMBData song(timing);
            song.track(0).add(std::make_unique<Note>(0, 80, 120, position, 0, 0));
            song.track(0).add(std::make_unique<Note>(120, 80, 120, position, 0, 0));
            ASSERT_TRUE(MidiFile(song, ui).write(dir / name, ""));
        }
    }
    std::string listFile() const { return (dir / "list.pll").string(); }
    void writeList(const std::string& names) {
        ScratchDir::write(dir / "list.pll", dir.path().string() + "/\n" + names);
    }
    void openList() {
        ui.answerFile(listFile());
        window->command(command::kPlayList);
        ASSERT_NE(window->playList().window(), nullptr);
    }
    PlayListWindow& list() const { return *window->playList().window(); }
    template <typename T>
    T& control(const char* name) const {
        return *list().findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) const {
        QTest::mouseClick(&control<QPushButton>(name), Qt::LeftButton);
    }
    QStringList playListShown() const {
        QStringList texts;
        const QListWidget& entries = control<QListWidget>("playList");
        for (int row = 0; row < entries.count(); ++row)
            texts << entries.item(row)->text();
        return texts;
    }
    int selectedEntry() const { return control<QListWidget>("playList").currentRow(); }
    void setPause(bool on) const { control<QCheckBox>("pauseAfterEach").setChecked(on); }
    // Each song's two notes, in the order given.
    static std::vector<int> notesOf(std::initializer_list<int> positions) {
        std::vector<int> keys;
        for (const int position : positions)
            keys.insert(keys.end(), 2, keyOf(position, 0));
        return keys;
    }
    void pressStop() { QTest::mouseClick(&button(command::kStop), Qt::LeftButton); }
};

TEST_F(PlayListTest, TheCommandAsksForAListFileThatNeedNotExistAndOkWritesTheEntries) {
    startWithSongs();
    app->settings.setText(settings_keys::kLastDir, dir.path().string());
    openList();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].kind, FileDialogKind::OpenOrNew);
    EXPECT_EQ(ui.fileDialogs[0].filterDescription, "MIDI Files (*.mid)");
    EXPECT_EQ(ui.fileDialogs[0].title, "Open MIDI File");
    EXPECT_EQ(ui.fileDialogs[0].initialName, dir.path().string() + "/*.pll");

    EXPECT_EQ(list().windowTitle(), "Play List");
    EXPECT_TRUE(list().isVisible());
    EXPECT_EQ(control<QLineEdit>("directory").text().toStdString(), dir.path().string() + "/");
    EXPECT_EQ(control<QListWidget>("files").count(), 3);
    EXPECT_EQ(playListShown(), QStringList{"-End Of List-"});
    EXPECT_TRUE(control<QCheckBox>("pauseAfterEach").isChecked());

    window->command(command::kPlayList);
    EXPECT_EQ(ui.fileDialogs.size(), 1u) << "the open window comes forward";

    // Insert appends at the end marker, which Delete leaves alone.
    QListWidget& files = control<QListWidget>("files");
    for (const int file : {2, 0, 1}) {
        files.setCurrentRow(file);
        click("insert");
    }
    EXPECT_EQ(playListShown(), (QStringList{"c.mid", "a.mid", "b.mid", "-End Of List-"}));
    click("delete");
    EXPECT_EQ(playListShown().size(), 4);
    control<QListWidget>("playList").setCurrentRow(1);
    click("delete");
    EXPECT_EQ(playListShown(), (QStringList{"c.mid", "b.mid", "-End Of List-"}));
    EXPECT_EQ(selectedEntry(), 0);

    click("ok");
    EXPECT_EQ(window->playList().window(), nullptr);
    EXPECT_EQ(ScratchDir::read(listFile()), dir.path().string() + "/\nc.mid\nb.mid\n");
}

TEST_F(PlayListTest, ANewListStartsInTheLastDirectoryAndOnlyThenTheListsOwnIsRemembered) {
    startWithSongs();
    const std::string songs = dir.path().string();
    const std::filesystem::path lists = dir / "lists";
    std::filesystem::create_directory(lists);
    app->settings.setText(settings_keys::kLastDir, songs);
    ui.answerFile((lists / "new.pll").string());
    window->command(command::kPlayList);
    ASSERT_NE(window->playList().window(), nullptr);
    EXPECT_EQ(control<QLineEdit>("directory").text().toStdString(), songs + "/");
    EXPECT_EQ(control<QListWidget>("files").count(), 3);
    EXPECT_EQ(setting(settings_keys::kLastDir), lists.string());
}

TEST_F(PlayListTest, ASongChosenAsAListIsRefusedAndNeverWrittenOver) {
    startWithSongs();
    const std::string song = ScratchDir::read(dir / "a.mid");
    ui.answerFile((dir / "a.mid").string());
    window->command(command::kPlayList);
    EXPECT_EQ(window->playList().window(), nullptr);
    EXPECT_EQ(ui.texts(), Names{(dir / "a.mid").string() + " cannot be read as a play list"});
    EXPECT_EQ(ScratchDir::read(dir / "a.mid"), song);
}

TEST_F(PlayListTest, ExitAsksAboutAChangedListAfterTheSongsAndCancelKeepsTheProgram) {
    startWithSongs();
    writeList("a.mid\n");
    openList();
    control<QListWidget>("files").setCurrentRow(2);
    click("insert");
    ui.answerNext(IDCANCEL);
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(ui.texts(), Names{listFile() + " has changed. Do you want to save it?"});
    EXPECT_EQ(ScratchDir::read(listFile()), dir.path().string() + "/\na.mid\n");

    ui.answerNext(IDYES);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ScratchDir::read(listFile()), dir.path().string() + "/\nc.mid\na.mid\n");
}

TEST_F(PlayListTest, EscLeavesTheFileAsItWasAndOkWithoutChangesStoresOnlyThePause) {
    startWithSongs();
    const std::string crlf = dir.path().string() + "\r\na.mid\r\n";
    ScratchDir::write(dir / "list.pll", crlf);
    openList();
    control<QListWidget>("files").setCurrentRow(0);
    click("insert");
    QTest::keyClick(&list(), Qt::Key_Escape);
    EXPECT_EQ(window->playList().window(), nullptr);
    EXPECT_EQ(ScratchDir::read(listFile()), crlf);

    openList();
    setPause(false);
    click("ok");
    EXPECT_EQ(ScratchDir::read(listFile()), crlf);
    EXPECT_EQ(setting(settings_keys::kPlayListPause), "No");
}

TEST_F(PlayListTest, WithoutPauseTheSongsPlayInListOrderAndTheWindowComesBack) {
    startWithSongs();
    writeList("c.mid\na.mid\nb.mid\n");
    openList();
    setPause(false);
    current().view().currentTrack = 3;
    const std::size_t windowsBefore = window->staffWindows().size();
    click("play");
    EXPECT_FALSE(list().isVisible());
    EXPECT_TRUE(window->transport().playListActive());
    EXPECT_EQ(window->staffWindows().size(), windowsBefore + 1) << "a window for the list";
    EXPECT_EQ(current().document().fileName, (dir / "c.mid").string());
    EXPECT_EQ(window->toolbar().trackCombo()->count(), 16);
    EXPECT_EQ(window->toolbar().trackCombo()->currentIndex(), 0);

    run(6000);
    EXPECT_EQ(keysPlayed(), notesOf({60, 50, 40}));
    EXPECT_TRUE(list().isVisible());
    EXPECT_FALSE(window->playActive());
    EXPECT_FALSE(window->transport().playListActive());
    EXPECT_EQ(selectedEntry(), -1) << "the list has ended";
    EXPECT_EQ(current().document().fileName, (dir / "b.mid").string());
    EXPECT_EQ(window->staffWindows().size(), windowsBefore + 1) << "one window for every song";

    click("play");
    run(700);
    EXPECT_EQ(keysPlayed(), notesOf({60, 50, 40, 60})) << "from the first again";
}

TEST_F(PlayListTest, StopDuringASongStopsTheListAfterItAndWithPauseEachSongPlaysAlone) {
    startWithSongs();
    writeList("c.mid\na.mid\nb.mid\n");
    openList();
    setPause(false);
    click("play");
    run(200);
    pressStop();
    run(3000);
    EXPECT_EQ(keysPlayed(), std::vector<int>{keyOf(60, 0)});
    EXPECT_TRUE(list().isVisible());
    EXPECT_EQ(selectedEntry(), 1);

    ports.sent.clear();
    setPause(true);
    click("play");
    run(3000);
    EXPECT_EQ(keysPlayed(), notesOf({50}));
    EXPECT_TRUE(list().isVisible());
    EXPECT_EQ(selectedEntry(), 2);
    click("play");
    run(3000);
    EXPECT_EQ(keysPlayed(), notesOf({50, 40}));
}

TEST_F(PlayListTest, EscWhileASongPlaysSilencesItAndEndsTheList) {
    startWithSongs();
    writeList("c.mid\na.mid\n");
    openList();
    setPause(false);
    click("play");
    run(200);
    QTest::keyClick(&list(), Qt::Key_Escape);
    EXPECT_FALSE(window->playActive());
    EXPECT_FALSE(window->transport().playListActive());
    EXPECT_EQ(window->playList().window(), nullptr);
    const auto sent = ports.sentBytes();
    EXPECT_EQ(sent.back(), (std::vector<std::uint8_t>{0xBF, 123, 0}))
        << "the output is closed with all its notes off";
    run(3000);
    EXPECT_EQ(keysPlayed(), std::vector<int>{keyOf(60, 0)});
}

TEST_F(PlayListTest, AnEntryThatCannotBeOpenedBringsTheWindowBackOrEndsTheRun) {
    startWithSongs();
    writeList("gone.mid\nc.mid\nlost.mid\na.mid\n");
    openList();
    setPause(false);
    click("play");
    EXPECT_EQ(ui.texts(), Names{(dir / "gone.mid").string() + " Not found"});
    EXPECT_TRUE(list().isVisible());
    EXPECT_FALSE(window->playActive());

    control<QListWidget>("playList").setCurrentRow(1);
    click("play");
    run(3000);
    EXPECT_EQ(ui.texts().back(), (dir / "lost.mid").string() + " Not found");
    EXPECT_EQ(keysPlayed(), notesOf({60})) << "the list stops at the missing song";
    EXPECT_TRUE(list().isVisible());
    EXPECT_EQ(selectedEntry(), 2);
    EXPECT_FALSE(window->transport().playListActive());
}

TEST_F(PlayListTest, WhileAnotherSongPlaysTheListWaitsAndLeavesItAlone) {
    startWithSongs();
    writeList("c.mid\n");
    openList();
    track0().add(std::make_unique<Note>(0, 80, 480, 60, 0, 0));
    window->command(command::kPlayAll);
    window->command(command::kPlayList);
    EXPECT_EQ(ui.notices.back(), kPlayMode);
    EXPECT_EQ(ui.fileDialogs.size(), 1u);

    const std::size_t windows = window->staffWindows().size();
    ui.notices.clear();
    click("play");
    EXPECT_EQ(ui.notices, Names{kPlayMode});
    EXPECT_EQ(window->staffWindows().size(), windows);
    QTest::keyClick(&list(), Qt::Key_Escape);
    EXPECT_TRUE(window->playActive());
}

}  // namespace
