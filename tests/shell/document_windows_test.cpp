#include <QComboBox>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <filesystem>

#include "main_window_fixture.h"
#include "notation/status_bar.h"

namespace {

namespace fs = std::filesystem;
namespace keys = settings_keys;

using DocumentWindowsTest = MainWindowTest;

TEST_F(DocumentWindowsTest, FirstStartWithoutSettingsOpensANewSongOnTheDefaults) {
    start();
    EXPECT_TRUE(ui.boxes.empty());
    // A maximised song's name joins the title, as in every frame with document windows.
    EXPECT_EQ(window->windowTitle(), "tolvar 32 - [new.mid]");
    // The first start used to open at 439 x 379, the track combo box cut off and half the
    // menus behind the extension button.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Its size fits the screen's free area (the frame around it is the window system's).
    EXPECT_LE(window->width(), screen.width());
    EXPECT_LE(window->height(), screen.height());
    for (QAction* item : window->menuBar()->actions()) {
        const QRect place = window->menuBar()->actionGeometry(item);
        EXPECT_FALSE(place.isEmpty()) << item->text().toStdString();
        EXPECT_LE(place.right(), window->menuBar()->width()) << item->text().toStdString();
    }
    EXPECT_LE(window->toolbar().trackCombo()->geometry().right(), window->centralWidget()->width());
    EXPECT_GT(window->height(), 379);
    EXPECT_EQ(ScratchDir::read(dir / "tolvar32.ini"),
              "[tolvar32 Config]\nLastDir=" + dir.path().string() + "\n");

    ASSERT_EQ(window->staffWindows().size(), 1u);
    EXPECT_EQ(current().document().fileName, (dir / "new.mid").string());
    EXPECT_EQ(current().windowTitle(), "new.mid");
    EXPECT_TRUE(current().isMaximized());
    EXPECT_EQ(windowsMenu(), QStringList{"3500 /new.mid *"});
    EXPECT_EQ(current().statusBar().trackField(), "Track : 1");
    EXPECT_EQ(current().statusBar().tempoField(), "Tempo : 120");
    EXPECT_EQ(current().statusBar().barField(), "Bar : 0");
    EXPECT_EQ(window->toolbar().trackCombo()->count(), 16);
    EXPECT_EQ(window->toolbar().trackCombo()->itemText(0), "1 - --NONE--");
}

TEST_F(DocumentWindowsTest, StartsOnTheSongNamedOnTheCommandLine) {
    const std::string file = songFile("reel.mid");
    ui.boxes.clear();
    start(file);
    ASSERT_EQ(window->staffWindows().size(), 1u);
    EXPECT_EQ(current().document().fileName, file);
    EXPECT_TRUE(current().document().loaded);
    EXPECT_FALSE(song().changed);
    EXPECT_EQ(current().windowTitle(), "reel.mid");
    EXPECT_EQ(setting(keys::kLastDir), dir.path().string());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DocumentWindowsTest, AMissingSongOpensNoWindow) {
    const std::string missing = (dir / "gone.mid").string();
    start(missing);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{missing + " Not found"});
    EXPECT_TRUE(window->staffWindows().empty());
    EXPECT_EQ(window->currentStaffWindow(), nullptr);
}

// A picture renamed .mid or an empty file used to open an empty window named after it, one
// more in the Windows menu each time.
TEST_F(DocumentWindowsTest, AFileThatIsNoSongOpensNoWindowAndTheCurrentOneStays) {
    start();
    StaffWindow* const before = &current();
    ScratchDir::write(dir / "photo.mid", std::string("\x89PNG\r\n\x1a\n", 8) + "IHDR....");
    ScratchDir::write(dir / "empty.mid", "");
    for (const char* name : {"photo.mid", "empty.mid"}) {
        ui.boxes.clear();
        ui.answerFile((dir / name).string());
        window->command(command::kOpen);
        EXPECT_EQ(ui.texts(), std::vector<std::string>{"Not a valid Midi file"}) << name;
        ASSERT_EQ(window->staffWindows().size(), 1u) << name;
        EXPECT_EQ(window->currentStaffWindow(), before);
        EXPECT_EQ(windowsMenu(), QStringList{"3500 /new.mid *"});
    }
    EXPECT_EQ(setting(keys::kLastDir), dir.path().string()) << "the next Open starts there";
}

TEST_F(DocumentWindowsTest, ANoSongFileNamedAtStartOpensNoWindow) {
    ScratchDir::write(dir / "empty.mid", "");
    start((dir / "empty.mid").string());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Not a valid Midi file"});
    EXPECT_TRUE(window->staffWindows().empty());
    EXPECT_EQ(window->currentStaffWindow(), nullptr);
}

// The tracks before a damaged one are all that is left of that song: they are shown.
TEST_F(DocumentWindowsTest, ADamagedSongShowsTheTracksReadBeforeTheDamage) {
    // Two tracks: one note, then a track whose chunk claims more bytes than the file holds.
    const std::string header("MThd\0\0\0\6\0\1\0\2\0\x78", 14);
    const std::string notes("MTrk\0\0\0\x0c\0\x90\x3c\x40\x78\x80\x3c\x40\0\xff\x2f\0", 20);
    const std::string torn("MTrk\0\0\0\x40\0\x90\x3e", 11);
    ScratchDir::write(dir / "torn.mid", header + notes + torn);
    start();
    ui.answerFile((dir / "torn.mid").string());
    window->command(command::kOpen);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid track - Open stopped"});
    ASSERT_EQ(window->staffWindows().size(), 2u);
    EXPECT_EQ(current().document().fileName, (dir / "torn.mid").string());
    ASSERT_EQ(track0().count(), 1);
}

TEST_F(DocumentWindowsTest, NewAndOpenAddACurrentWindowUpToElevenAndTheWindowsMenuSwitches) {
    start();
    window->command(command::kNew);
    ASSERT_EQ(window->staffWindows().size(), 2u);
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[1]);
    EXPECT_EQ(windowsMenu(), (QStringList{"3500 /new.mid", "3501 /new.mid *"}));

    ui.answerFile(std::nullopt);
    window->command(command::kOpen);
    EXPECT_EQ(window->staffWindows().size(), 2u) << "a cancelled Open adds no window";
    EXPECT_EQ(ui.fileDialogs.back().title, "Open MIDI File");
    EXPECT_EQ(ui.fileDialogs.back().initialName, (dir / "*.mid").string());
    ui.answerFile(songFile("a.mid"));
    window->command(command::kOpen);
    EXPECT_EQ(windowsMenu(), (QStringList{"3500 /new.mid", "3501 /new.mid", "3502 /a.mid *"}));

    window->command(command::kWindowFirst);
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[0]);
    EXPECT_EQ(window->frame().activeSubWindow(), window->staffWindows()[0]);
    EXPECT_EQ(windowsMenu()[0], "3500 /new.mid *");
    window->command(command::kWindowFirst + 5);  // no such window
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[0]);

    for (int i = 3; i < DocumentWindows::kMaxStaffWindows; ++i)
        window->command(command::kNew);
    ASSERT_EQ(window->staffWindows().size(), 11u);
    EXPECT_TRUE(ui.boxes.empty());
    window->command(command::kNew);
    ui.answerFile(songFile("b.mid"));
    window->command(command::kOpen);
    EXPECT_EQ(window->staffWindows().size(), 11u) << "a twelfth song is refused";
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Too many songs open - close one first",
                                                    "Too many songs open - close one first"}));
    EXPECT_EQ(window->menu().windowsMenu().actions().size(), 11);
}

TEST_F(DocumentWindowsTest, SaveAsRenamesTheWindowAndCloseAsks) {
    start();
    window->command(command::kSave);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Changes to save"});
    song().changed = true;
    ui.answerFile((dir / "tune.mid").string());
    window->command(command::kSaveAs);
    EXPECT_TRUE(fs::exists(dir / "tune.mid"));
    EXPECT_EQ(current().windowTitle(), "tune.mid");
    EXPECT_EQ(windowsMenu(), QStringList{"3500 /tune.mid *"});
    EXPECT_EQ(ui.notices.back(), (dir / "tune.mid").string() + " Saved");

    window->command(command::kNew);
    StaffWindow* first = window->staffWindows()[0];
    first->document().song.changed = true;
    ui.answerNext(IDCANCEL);
    first->close();
    EXPECT_EQ(window->staffWindows().size(), 2u);
    EXPECT_EQ(window->currentStaffWindow(), first);

    ui.answerNext(IDNO);
    first->close();
    ASSERT_EQ(window->staffWindows().size(), 1u);
    EXPECT_EQ(windowsMenu(), QStringList{"3500 /new.mid *"});
}

class ExitTest : public MainWindowTest {
protected:
    // Three changed songs, the second current and showing the piano roll.
    void startOnThreeChangedSongs() {
        start();
        window->command(command::kNew);
        window->command(command::kNew);
        for (StaffWindow* staff : window->staffWindows()) {
            staff->document().song.changed = true;
            staff->document().loaded = true;
        }
        window->staffWindows()[1]->document().fileName = (dir / "second.mid").string();
        window->staffWindows()[2]->document().fileName = (dir / "third.mid").string();
        window->command(command::kWindowFirst + 1);
        current().view().pianoRoll = true;
    }
};

TEST_F(ExitTest, AsksAboutEachChangedSongStopsAtCancelAndClosesAllAfterwards) {
    startOnThreeChangedSongs();
    ui.answerNext(IDYES);
    ui.answerNext(IDNO);
    ui.answerNext(IDCANCEL);
    window->command(command::kExit);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{
                  (dir / "new.mid").string() + " has changed. Do you want to save it?",
                  (dir / "second.mid").string() + " has changed. Do you want to save it?",
                  (dir / "third.mid").string() + " has changed. Do you want to save it?"}));
    EXPECT_TRUE(fs::exists(dir / "new.mid"));
    EXPECT_FALSE(fs::exists(dir / "second.mid"));
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[1]);
    // The settings are written before asking and kept after the cancel.
    EXPECT_EQ(setting(keys::kStaffOrPiano), "PIANO");
    EXPECT_EQ(setting(keys::kDivision), "120");
    EXPECT_EQ(setting(keys::kNumberOfBeats), "4");
    EXPECT_EQ(setting(keys::kTempo), "120");
    EXPECT_EQ(setting(keys::kVelocity), "80");
    EXPECT_EQ(setting(keys::kMaximizeStaff), "Yes");
    EXPECT_EQ(setting(keys::kAnimate), "Yes");

    // Saved by the Yes, the first song is asked about no more.
    ui.answerNext(IDNO);
    ui.answerNext(IDNO);
    window->command(command::kExit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ui.boxes.size(), 5u);
    EXPECT_EQ(setting({keys::kConfigSection, "Control.right", "", 0}),
              std::to_string(window->width()));
    EXPECT_NE(setting({keys::kConfigSection, "Staff.top", "", 0}), "(none)");
}

TEST_F(DocumentWindowsTest, StaffWindowsCascadeAndAreCutToTheFrame) {
    app = std::make_unique<Application>(dir / "tolvar32.ini", ui, clock, ports);
    app->settings.setFlag(keys::kMaximizeStaff, false);
    app->settings.savePlacement("Staff", 10, 20, 1900, 260);
    window = std::make_unique<MainWindow>(*app);
    window->showAsConfigured();
    window->openStartupSong({});
    window->command(command::kNew);
    const QSize frame = window->frame().viewport()->size();
    const QRect first = window->staffWindows()[0]->geometry();
    const QRect second = window->staffWindows()[1]->geometry();
    EXPECT_EQ(first, QRect(20, 10, frame.width(), 260));
    EXPECT_EQ(second.topLeft(), first.topLeft() + QPoint(22, 22));
}

}  // namespace
