#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/command_ids.h"
#include "notation/staff_surface.h"
#include "notation/staff_window.h"
#include "shell/main_menu.h"
#include "shell/main_window.h"
#include "shell/tool_button.h"
#include "shell/toolbar.h"
#include "smf/midi_file.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

// A main window on a scratch settings file and home directory, a scripted Ui, a manual clock
// and recording MIDI ports, with helpers to read its controls.
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
        const std::filesystem::path file = dir / name;
        EXPECT_TRUE(MidiFile(song, ui).write(file, ""));
        return file.string();
    }
    StaffWindow& current() const { return *window->currentStaffWindow(); }
    OMBData& song() const { return current().document().song; }
    Track& track0() const { return song().track(0); }
    // A new song with a note entered by a click at the start of the treble staff.
    void startWithANote() {
        start();
        clickNote();
        ASSERT_EQ(track0().count(), 1);
    }
    void clickNote() {
        QTest::mouseClick(&current().surface(), Qt::LeftButton, {}, QPoint(noteX(), 75));
    }
    int noteX() const { return current().page().TickToX(0) + 5; }
    ToolButton& button(int id) const { return *window->toolbar().button(id); }
    bool itemEnabled(int id) const { return window->menu().action(id)->isEnabled(); }
    QString itemText(int id) const { return window->menu().action(id)->text(); }
    // Keys pressed in the active target, as a user at the keyboard would.
    void press(QKeyCombination keys) { press(*window, keys); }
    static void press(QWidget& target, QKeyCombination keys) {
        target.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&target));
        QTest::keyClick(&target, keys.key(), keys.keyboardModifiers());
    }
    // Types into whatever has the focus in the next modal dialog the window opens, then presses
    // key. A dialog that did not take the key is closed, so it cannot hang the test in its exec.
    static void typeIntoTheNextDialog(const QString& text, Qt::Key key = Qt::Key_Return) {
        QTimer::singleShot(0, [text, key] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            QWidget* focus = dialog->focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::keyClicks(focus, text);
            QTest::keyClick(focus, key);
            if (dialog->isVisible())
                static_cast<QDialog*>(dialog)->done(-1);
        });
    }
    // Lets time pass on the manual clock and the posted play steps run.
    void run(int ms) {
        for (int i = 0; i < ms; ++i) {
            clock.advance(1);
            QCoreApplication::sendPostedEvents(window.get());
        }
    }
    // The key of each note-on sent, in order.
    std::vector<int> keysPlayed() const {
        std::vector<int> keys;
        for (const auto& bytes : ports.sentBytes())
            if ((bytes[0] & 0xF0) == 0x90 && bytes[2] > 0)
                keys.push_back(bytes[1]);
        return keys;
    }
    // The "Windows" menu: "<id> <name>", " *" marks the checked item.
    QStringList windowsMenu() const {
        QStringList texts;
        for (const QAction* item : window->menu().windowsMenu().actions()) {
            texts << QStringLiteral("%1 %2%3")
                         .arg(item->data().toInt())
                         .arg(item->text(), item->isChecked() ? " *" : "");
        }
        return texts;
    }
    // Prev, Next, Pause, Play, Play All, Stop.
    std::vector<bool> transportButtons() const {
        std::vector<bool> enabled;
        for (const int id : {command::kPrevPage, command::kNextPage, command::kPause,
                             command::kPlay, command::kPlayAll, command::kStop})
            enabled.push_back(button(id).isEnabled());
        return enabled;
    }

    ScratchDir dir;
    ScriptedUi ui;
    ManualClock clock;
    RecordingMidiPorts ports{clock, {"Out", kBuiltInSynthesizerName}, {"In"}, 1};
    std::unique_ptr<Application> app;
    std::unique_ptr<MainWindow> window;

    const std::string kPlayMode = "Currently in PLAY mode, Press Stop to return to normal mode.";

private:
    std::string savedHome_;
};
