#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QStringList>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/command_ids.h"
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
    ToolButton& button(int id) const { return *window->toolbar().button(id); }
    bool itemEnabled(int id) const { return window->menu().action(id)->isEnabled(); }
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
