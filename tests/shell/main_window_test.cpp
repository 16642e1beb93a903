#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTest>
#include <cstdlib>
#include <thread>

#include "app/application.h"
#include "notation/configuration_dialog.h"
#include "notation/key_window.h"
#include "notation/staff_surface.h"
#include "notation/staff_window.h"
#include "notation/status_bar.h"
#include "playback/voice_table.h"
#include "qt/qt_ui.h"
#include "app/command_ids.h"
#include "shell/control_bar.h"
#include "shell/main_menu.h"
#include "shell/tool_button.h"
#include "shell/toolbar.h"
#include "smf/midi_file.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

namespace fs = std::filesystem;
namespace keys = settings_keys;

const std::string kPlayMode = "Currently in PLAY mode, Press Stop to return to normal mode.";

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : savedHome_(std::getenv("HOME") ? std::getenv("HOME") : "") {
        setenv("HOME", dir.path().c_str(), 1);
    }
    ~MainWindowTest() override {
        window.reset();
        setenv("HOME", savedHome_.c_str(), 1);
    }

    void start(const std::string& file = {}) {
        app = std::make_unique<Application>(dir / "tolvar32.ini", ui, clock, ports);
        window = std::make_unique<MainWindow>(*app);
        window->showAsConfigured();
        window->openStartupSong(file);
    }
    std::string setting(const SettingKey& key) const {
        return Profile(dir / "tolvar32.ini").read(key.section, key.name, "(none)", 200);
    }
    // A song file with one note in the scratch directory.
    std::string songFile(const std::string& name) {
        SongTiming timing;
        OMBData song(timing);
        song.track(0).add(std::make_unique<Note>(0, 80, 120, 60, 0, 0));
        const fs::path file = dir / name;
        EXPECT_TRUE(MidiFile(song, ui).write(file, ""));
        return file.string();
    }
    StaffWindow& current() const { return *window->currentStaffWindow(); }
    ToolButton& button(int id) const { return *window->toolbar().button(id); }
    QStringList windowsMenu() const {
        QStringList texts;
        for (const QAction* item : window->menu().windowsMenu().actions()) {
            texts << QStringLiteral("%1 %2%3")
                         .arg(item->data().toInt())
                         .arg(item->text(), item->isChecked() ? " *" : "");
        }
        return texts;
    }

    ScratchDir dir;
    ScriptedUi ui;
    ManualClock clock;
    RecordingMidiPorts ports{clock, {"Out", kBuiltInSynthesizerName}, {"In"}, 1};
    std::unique_ptr<Application> app;
    std::unique_ptr<MainWindow> window;

private:
    std::string savedHome_;
};

TEST_F(MainWindowTest, FirstStartWithoutSettingsOpensANewSongOnTheDefaults) {
    start();
    EXPECT_TRUE(ui.boxes.empty());
    // A maximised song's name joins the title, as in every frame with document windows.
    EXPECT_EQ(window->windowTitle(), "tolvar 32 - [new.mid]");
    EXPECT_EQ(window->size(), QSize(439, 379));
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

    // The eighth note is the value entered, and the stopped state's buttons are up.
    EXPECT_EQ(window->currentNoteButton(), 3);
    EXPECT_EQ(current().view().noteValue, 3);
    EXPECT_EQ(button(command::kStaffOrPiano).state(), 1);
    for (const int id : {command::kPrevPage, command::kNextPage, command::kPlay, command::kPlayAll})
        EXPECT_TRUE(button(id).isEnabled()) << id;
    for (const int id : {command::kPause, command::kStop})
        EXPECT_FALSE(button(id).isEnabled()) << id;
    EXPECT_TRUE(window->menu().action(command::kSave)->isEnabled());
    EXPECT_FALSE(window->menu().action(command::kPaste)->isEnabled());
    EXPECT_EQ(window->menu().action(command::kHelp)->shortcut(), QKeySequence(Qt::Key_F1));
}

TEST_F(MainWindowTest, StartsOnTheSongNamedOnTheCommandLine) {
    const std::string file = songFile("reel.mid");
    fs::create_directory(dir / "elsewhere");
    ui.boxes.clear();
    start(file);
    ASSERT_EQ(window->staffWindows().size(), 1u);
    EXPECT_EQ(current().document().fileName, file);
    EXPECT_TRUE(current().document().loaded);
    EXPECT_FALSE(current().document().song.changed);
    EXPECT_EQ(current().windowTitle(), "reel.mid");
    EXPECT_EQ(setting(keys::kLastDir), dir.path().string());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MainWindowTest, AMissingSongOpensNoWindow) {
    const std::string missing = (dir / "gone.mid").string();
    start(missing);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{missing + " Not found"});
    EXPECT_TRUE(window->staffWindows().empty());
    EXPECT_EQ(window->currentStaffWindow(), nullptr);
    EXPECT_FALSE(window->menu().action(command::kSave)->isEnabled());
    EXPECT_FALSE(button(command::kPlayAll).isEnabled());

    // Commands that need a song do nothing without one; the toggles still answer.
    for (const int id : {command::kDeleteCurrentTrack, command::kNextPage, command::kSave,
                         command::kWholeRest, command::kTrackCombo})
        window->command(id);
    window->command(command::kDisplaySolo);
    EXPECT_EQ(ui.notices, std::vector<std::string>{"Display Solo Selected"});
    EXPECT_EQ(button(command::kDisplaySolo).state(), 1);
}

TEST_F(MainWindowTest, NewAndOpenAddWindowsThatTheWindowsMenuSwitches) {
    start();
    window->command(command::kNew);
    ASSERT_EQ(window->staffWindows().size(), 2u);

    ui.answerFile(std::nullopt);
    window->command(command::kOpen);
    EXPECT_EQ(window->staffWindows().size(), 2u);
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[1]);
    EXPECT_EQ(ui.fileDialogs.back().title, "Open MIDI File");
    EXPECT_EQ(ui.fileDialogs.back().initialName, (dir / "*.mid").string());

    ui.answerFile(songFile("a.mid"));
    window->command(command::kOpen);
    ASSERT_EQ(window->staffWindows().size(), 3u);
    EXPECT_EQ(windowsMenu(), (QStringList{"3500 /new.mid", "3501 /new.mid", "3502 /a.mid *"}));

    window->command(command::kWindowFirst);
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[0]);
    EXPECT_EQ(window->frame().activeSubWindow(), window->staffWindows()[0]);
    EXPECT_EQ(windowsMenu()[0], "3500 /new.mid *");
    window->command(command::kWindowFirst + 5);  // no such window
    EXPECT_EQ(window->currentStaffWindow(), window->staffWindows()[0]);
}

TEST_F(MainWindowTest, ConfigurationChoosesAndStoresTheDevices) {
    start();
    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        auto& configuration = static_cast<ConfigurationDialog&>(dialog);
        for (int i = 0; i < configuration.playDevices().count(); ++i)
            shown << configuration.playDevices().itemText(i);
        EXPECT_EQ(configuration.playDevices().currentText(), kBuiltInSynthesizerName);
        configuration.playDevices().setCurrentText("Out");
        configuration.recordDevices().setCurrentText("In");
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kConfiguration);
    EXPECT_EQ(shown, (QStringList{"-NONE-", "Out", kBuiltInSynthesizerName}));
    EXPECT_EQ(setting(keys::kBoard), "Out");
    EXPECT_EQ(setting(keys::kInBoard), "In");
    EXPECT_FALSE(app->device.isBuiltInSynthesizer());
}

TEST_F(MainWindowTest, CommandsPostedFromAnotherThreadRunOnTheWindowThread) {
    start();
    std::thread timerThread([this] { window->commandPoster().post(command::kNew, 0); });
    timerThread.join();
    EXPECT_EQ(window->staffWindows().size(), 1u);
    QCoreApplication::sendPostedEvents(window.get());
    EXPECT_EQ(window->staffWindows().size(), 2u);
}

TEST_F(MainWindowTest, ATwelfthSongIsRefused) {
    start();
    for (int i = 1; i < DocumentWindows::kMaxStaffWindows; ++i)
        window->command(command::kNew);
    ASSERT_EQ(window->staffWindows().size(), 11u);
    EXPECT_TRUE(ui.boxes.empty());
    window->command(command::kNew);
    ui.answerFile(songFile("b.mid"));
    window->command(command::kOpen);
    EXPECT_EQ(window->staffWindows().size(), 11u);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Too many songs open - close one first",
                                                    "Too many songs open - close one first"}));
    EXPECT_EQ(window->menu().windowsMenu().actions().size(), 11);
}

TEST_F(MainWindowTest, SaveAndSaveAsKeepTitleAndMenuInStep) {
    start();
    window->command(command::kSave);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Changes to save"});

    current().document().song.changed = true;
    ui.answerFile((dir / "tune.mid").string());
    window->command(command::kSaveAs);
    EXPECT_TRUE(fs::exists(dir / "tune.mid"));
    EXPECT_EQ(current().windowTitle(), "tune.mid");
    EXPECT_EQ(windowsMenu(), QStringList{"3500 /tune.mid *"});
    EXPECT_EQ(ui.notices.back(), (dir / "tune.mid").string() + " Saved");
}

TEST_F(MainWindowTest, ExitAsksAboutEachChangedSongAndStopsAtCancel) {
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
    // The settings were written before the questions, and stay written.
    EXPECT_EQ(setting(keys::kStaffOrPiano), "PIANO");
    EXPECT_EQ(setting(keys::kDivision), "120");
    EXPECT_EQ(setting(keys::kNumberOfBeats), "4");
    EXPECT_EQ(setting(keys::kTempo), "120");
    EXPECT_EQ(setting(keys::kVelocity), "80");
    EXPECT_EQ(setting(keys::kMaximizeStaff), "Yes");
    EXPECT_EQ(setting(settings_keys::kAnimate), "Yes");

    // Answering No for every song closes everything and stores the places.
    for (int i = 0; i < 3; ++i)
        ui.answerNext(IDNO);
    window->command(command::kExit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(setting({keys::kConfigSection, "Control.right", "", 0}), "439");
    EXPECT_NE(setting({keys::kConfigSection, "Staff.top", "", 0}), "(none)");
}

TEST_F(MainWindowTest, ClosingAChangedSongCanBeCancelled) {
    start();
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

TEST_F(MainWindowTest, PlayModeRefusesFileCommandsAndTurnsAcceleratorsOff) {
    start();
    current().document().song.changed = true;
    window->transport().setPlayActive(true);
    for (const int id : {command::kOpen, command::kSave, command::kSaveAs, command::kRecord})
        window->command(id);
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.notices, std::vector<std::string>(5, kPlayMode));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.fileDialogs.empty());
    for (const int id : {command::kHelp, command::kSave, command::kOpen})
        EXPECT_TRUE(window->menu().action(id)->shortcut().isEmpty()) << id;

    window->transport().setPlayActive(false);
    EXPECT_EQ(window->menu().action(command::kOpen)->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->menu().action(command::kSave)->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(MainWindowTest, ModeTogglesShowTheirMessagesAndStoreTheirSettings) {
    start();
    window->command(command::kStaffOrPiano);
    EXPECT_TRUE(current().view().pianoRoll);
    EXPECT_EQ(button(command::kStaffOrPiano).state(), 0);
    EXPECT_EQ(setting(keys::kStaffOrPiano), "PIANO");
    window->command(command::kStaffOrPiano + 6);  // the same toggle without a button
    EXPECT_FALSE(current().view().pianoRoll);
    EXPECT_EQ(setting(keys::kStaffOrPiano), "STAFF");

    window->command(command::kDisplaySolo);
    window->command(command::kPlaySolo);
    EXPECT_TRUE(current().view().displaySolo);
    EXPECT_TRUE(current().view().playSolo);
    window->command(command::kPlaySolo);

    window->command(command::kAnimateButton);
    EXPECT_FALSE(window->menu().isChecked(command::kAnimate));
    EXPECT_FALSE(window->menu().isChecked(command::kAnimate));
    EXPECT_EQ(button(command::kAnimateButton).state(), 1);
    // From the menu the item's own check toggles once, not twice.
    window->menu().action(command::kAnimate)->trigger();
    EXPECT_TRUE(window->menu().isChecked(command::kAnimate));
    EXPECT_TRUE(window->menu().isChecked(command::kAnimate));

    window->command(command::kMinimizeButton);
    EXPECT_TRUE(window->menu().isChecked(command::kMinimizeOnPlay));
    window->menu().action(command::kMinimizeOnPlay)->trigger();
    window->command(command::kMinimizeOnPlay);

    EXPECT_EQ(ui.notices,
              (std::vector<std::string>{
                  "Piano Roll Notation Selected", "Staff Notation Selected",
                  "Display Solo Selected", "Play Solo Selected", "Play All Selected",
                  "Animation Turned Off", "Animation Turned On", "Minimize On Play Turned On",
                  "Minimize On Play Turned Off", "Minimize On Play Turned On"}));
    window->saveSettings();
    EXPECT_EQ(setting(keys::kAnimate), "Yes");
    EXPECT_EQ(setting(keys::kHide), "Yes");
}

TEST_F(MainWindowTest, ToolbarClicksAndTheTrackComboReachTheCommands) {
    start();
    QTest::mouseClick(&button(command::kStaffOrPiano), Qt::LeftButton);
    EXPECT_TRUE(current().view().pianoRoll);
    QTest::mouseClick(&button(command::kNoteButtonFirst + 1), Qt::LeftButton);
    EXPECT_EQ(current().view().noteValue, 1);
    QTest::mouseClick(&button(command::kNextPage), Qt::LeftButton);
    EXPECT_EQ(current().page().firstBar(), 1 + current().page().visibleBars());
    window->toolbar().trackCombo()->setCurrentIndex(4);
    emit window->toolbar().trackCombo()->activated(4);
    EXPECT_EQ(current().view().currentTrack, 4);
}

TEST_F(MainWindowTest, NoteValuesFollowButtonsAndMenus) {
    start();
    window->command(command::kNoteButtonFirst);
    EXPECT_EQ(current().view().noteValue, 0);
    EXPECT_EQ(window->currentNoteButton(), 0);
    window->command(command::kWholeRest);
    EXPECT_EQ(current().view().noteValue, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(button(command::kNoteButtonFirst + i).state(), 0);
    EXPECT_EQ(window->currentNoteButton(), 3);
    window->command(command::kThirtySecondNote);
    EXPECT_EQ(button(command::kNoteButtonLast).state(), 1);

    // Each window keeps its own value, and activating it shows it.
    window->command(command::kNew);
    EXPECT_EQ(window->currentNoteButton(), 3);
    window->command(command::kWindowFirst);
    EXPECT_EQ(window->currentNoteButton(), 5);

    window->command(command::kDotted);
    EXPECT_TRUE(window->editSettings().dotted);
    window->command(command::kFreeFormInput);
    EXPECT_EQ(window->editSettings().inputMode, EditSettings::InputMode::FreeForm);
    EXPECT_FALSE(window->menu().isChecked(command::kAlignToBeat));
    EXPECT_TRUE(window->menu().isChecked(command::kFreeFormInput));
}

TEST_F(MainWindowTest, TrackComboPagesAndDeleteTrackActOnTheCurrentSong) {
    start(songFile("t.mid"));
    window->toolbar().trackCombo()->setCurrentIndex(2);
    window->command(command::kTrackCombo);
    EXPECT_EQ(current().view().currentTrack, 2);
    EXPECT_EQ(current().statusBar().trackField(), "Track : 3");

    window->command(command::kNextPage);
    window->command(command::kNextPage);
    const int visible = current().page().visibleBars();
    EXPECT_EQ(current().page().firstBar(), 1 + 2 * visible);
    EXPECT_EQ(current().statusBar().barField(), QStringLiteral("Bar : %1").arg(2 * visible));
    window->command(command::kPrevPage);
    window->command(command::kPrevPage);
    window->command(command::kPrevPage);
    EXPECT_EQ(current().page().firstBar(), 1);

    window->toolbar().trackCombo()->setCurrentIndex(0);
    window->command(command::kTrackCombo);
    current().document().song.program[0] = 5;
    window->command(command::kDeleteCurrentTrack);
    EXPECT_TRUE(current().document().song.track(0).empty());
    EXPECT_EQ(current().document().song.program[0], OMBData::kNoProgram);
    EXPECT_TRUE(current().document().song.changed);
}

TEST_F(MainWindowTest, TheLastSongClosedGreysTheDocumentCommands) {
    start();
    current().close();
    EXPECT_TRUE(window->staffWindows().empty());
    EXPECT_TRUE(windowsMenu().isEmpty());
    for (const int id : {command::kPrevPage, command::kNextPage, command::kPlay, command::kPause,
                         command::kPlayAll, command::kStop})
        EXPECT_FALSE(button(id).isEnabled()) << id;
    EXPECT_FALSE(window->menu().action(command::kDeleteCurrentTrack)->isEnabled());
    window->command(command::kNew);
    EXPECT_TRUE(window->menu().action(command::kDeleteCurrentTrack)->isEnabled());
    EXPECT_TRUE(button(command::kPlayAll).isEnabled());
}

TEST_F(MainWindowTest, StaffWindowsCascadeAndAreCutToTheFrame) {
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

TEST_F(MainWindowTest, TheWindowsUiPutsNoticesOnTheControlBar) {
    QtUi qtUi;
    Application qtApp(dir / "tolvar32.ini", qtUi, clock, ports);
    MainWindow qtWindow(qtApp);
    qtWindow.openStartupSong({});
    qtWindow.command(command::kDisplaySolo);
    EXPECT_EQ(qtWindow.controlBar().message(), "Display Solo Selected");
    qtWindow.command(command::kPlaySolo);
    EXPECT_EQ(qtWindow.controlBar().message(), "Play Solo Selected");
}

TEST_F(MainWindowTest, EditingWithTheMouseAndTheEditMenu) {
    start();
    StaffWindow& staff = current();
    QWidget& surface = staff.surface();
    const int x = staff.page().TickToX(0) + 5;
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(x, 75));
    ASSERT_EQ(staff.document().song.track(0).count(), 1);
    EXPECT_EQ(staff.surface().image().pixelColor(x + 1, 75), QColor(128, 0, 0)) << "drawn at once";

    window->command(command::kSelectEntireTrack);
    EXPECT_FALSE(window->menu().action(command::kSetCutCopy)->isEnabled());
    EXPECT_TRUE(window->menu().action(command::kCopy)->isEnabled());
    EXPECT_FALSE(window->menu().action(command::kPaste)->isEnabled());
    window->command(command::kCopy);
    EXPECT_EQ(ui.notices.back(), "1 items placed in paste buffer");
    EXPECT_TRUE(window->menu().action(command::kPaste)->isEnabled());
    EXPECT_FALSE(window->menu().action(command::kCopy)->isEnabled());

    QString typed;
    window->setDialogRunner([&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText(typed);
        dialog.accept();
        return dialog.result();
    });
    typed = "1:0";
    window->command(command::kPaste);
    ASSERT_EQ(staff.document().song.track(0).count(), 2);
    EXPECT_EQ(staff.document().song.track(0).at(1)->time(), 480);
    typed = "0:240";
    window->command(command::kSetFirstNote);
    EXPECT_EQ(staff.document().song.track(0).at(0)->time(), 240);
    typed = "3";
    window->command(command::kGoToBar);
    EXPECT_EQ(staff.page().firstBar(), 4);
    EXPECT_EQ(staff.statusBar().barField(), "Bar : 3");

    window->command(command::kKeySignature);
    EXPECT_NE(staff.findChild<KeyWindow*>(), nullptr);

    window->transport().setPlayActive(true);
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(x, 75));
    EXPECT_EQ(ui.notices.back(), "In Play - Press Stop to access controls");
}

class PlaybackStatesTest : public MainWindowTest {
protected:
    // A song of two bars: a note on each beat of track 0.
    void startOnASong() {
        start();
        OMBData& song = current().document().song;
        for (int beat = 0; beat < 8; ++beat) {
            song.track(0).add(std::make_unique<Note>(beat * 120, 80, 100, 60, 0, 0));
        }
    }
    std::vector<bool> transport() const {
        std::vector<bool> enabled;
        for (const int id : {command::kPrevPage, command::kNextPage, command::kPause,
                             command::kPlay, command::kPlayAll, command::kStop})
            enabled.push_back(button(id).isEnabled());
        return enabled;
    }
    int menusEnabled() const {
        int count = 0;
        for (int position = 0; position < MainMenu::kTopLevelCount; ++position)
            count += window->menu().isTopLevelEnabled(position) ? 1 : 0;
        return count;
    }
    // Lets time pass and the posted play steps run.
    void run(int ms) {
        for (int i = 0; i < ms; ++i) {
            clock.advance(1);
            QCoreApplication::sendPostedEvents(window.get());
        }
    }
    int noteOnsSent() const {
        int count = 0;
        for (const auto& bytes : ports.sentBytes())
            count += (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0 ? 1 : 0;
        return count;
    }
    void press(int id) { QTest::mouseClick(&button(id), Qt::LeftButton); }

    const int menusWhenStopped = MainMenu::kTopLevelCount - 2;  // Voices and AWE Control
};

TEST_F(PlaybackStatesTest, PlayAllRunsToTheEndAndPutsEverythingBack) {
    startOnASong();
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
    current().page().setFirstBar(2);
    current().document().song.changed = false;
    window->command(command::kPlayAll);
    EXPECT_TRUE(window->playActive());
    EXPECT_EQ(transport(), (std::vector<bool>{false, false, true, false, false, true}));
    EXPECT_EQ(menusEnabled(), 0);
    EXPECT_EQ(current().page().firstBar(), 1) << "animation starts at the first bar";
    EXPECT_TRUE(window->menu().action(command::kSave)->shortcut().isEmpty());

    run(5000);  // eight beats at 120 a minute, and the last note's end
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(noteOnsSent(), 8) << "every note played";
    EXPECT_EQ(transport(), (std::vector<bool>{true, true, false, true, true, false}));
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
    EXPECT_EQ(current().page().firstBar(), 2);
    EXPECT_FALSE(current().document().song.changed);
    EXPECT_EQ(window->menu().action(command::kSave)->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(PlaybackStatesTest, PauseResumeAndStop) {
    startOnASong();
    window->command(command::kPlayAll);
    run(300);
    press(command::kPause);
    EXPECT_TRUE(window->playActive());
    EXPECT_EQ(transport(), (std::vector<bool>{true, true, false, true, false, true}));
    EXPECT_EQ(menusEnabled(), 0);
    const int sentWhenPaused = noteOnsSent();
    run(1000);
    EXPECT_EQ(noteOnsSent(), sentWhenPaused) << "nothing plays while paused";

    press(command::kPlay);
    EXPECT_EQ(transport(), (std::vector<bool>{false, false, true, false, false, true}));
    run(100);
    EXPECT_GT(noteOnsSent(), sentWhenPaused);
    press(command::kStop);
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(transport(), (std::vector<bool>{true, true, false, true, true, false}));

    // Stop while paused ends the play at once.
    window->command(command::kPlayAll);
    press(command::kPause);
    press(command::kStop);
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
}

TEST_F(PlaybackStatesTest, PlayPlaysThePageAndKeepsItsPlace) {
    startOnASong();
    window->command(command::kPlay);
    EXPECT_EQ(transport(), (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(menusEnabled(), 0);
    run(5000);
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(noteOnsSent(), 8);
    EXPECT_EQ(current().page().firstBar(), 1);
    EXPECT_EQ(transport(), (std::vector<bool>{true, true, false, true, true, false}));
}

TEST_F(PlaybackStatesTest, NothingToPlayReturnsToTheStoppedState) {
    start();
    window->command(command::kPlay);
    EXPECT_EQ(ui.notices.back(), "Nothing to Play");
    EXPECT_FALSE(window->playActive());
    EXPECT_EQ(transport(), (std::vector<bool>{true, true, false, true, true, false}));
    EXPECT_EQ(menusEnabled(), menusWhenStopped);
}

TEST(ControlBarTest, AMessageLastsUntilTheFirstRepaintAfterTwoSeconds) {
    ManualClock clock;
    SongTiming timing;
    const bool noSoundFont = false;
    ControlBar bar(nullptr, clock, timing, noSoundFont);
    bar.resize(600, ControlBar::kHeight);
    bar.showMessage("first");
    bar.showMessage("second");
    EXPECT_EQ(bar.message(), "second");
    clock.advance(2000);
    bar.grab();
    EXPECT_EQ(bar.message(), "second");
    clock.advance(1);
    bar.grab();  // this paint still shows it
    EXPECT_EQ(bar.message(), "");
}

TEST(StatusBarTest, FileNameFieldShortensToThePanel) {
    EXPECT_EQ(StatusBar::fileNameField("/a.mid", 600), "");
    EXPECT_EQ(StatusBar::fileNameField("/ab.mid", 600), "");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 600), "/ho.../reel.mid");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 280 + 8 * 5), "/ho.....");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 285), "...");
    EXPECT_EQ(StatusBar::fileNameField("/home/me/songs/reel.mid", 200), "/ho.../reel.mid");
}

}  // namespace
