#pragma once

#include <map>
#include <utility>
#include <vector>

#include "app/command_ids.h"
#include "app/record_target.h"
#include "app/transport_controls.h"
#include "model/undo_history.h"
#include "platform/command_poster.h"
#include "staff/staff_page.h"

// The window's side of the Transport, reduced to what the Transport tests read back.

using Buttons = std::vector<bool>;

class FakeControls : public TransportControls {
public:
    void setButtonEnabled(int commandId, bool enabled) override { buttons[commandId] = enabled; }
    void setTopMenusEnabled(bool enabled) override { menusEnabled = enabled; }
    void setAcceleratorsEnabled(bool enabled) override { acceleratorsEnabled = enabled; }
    void minimize() override { minimized = true; }
    void restore() override { minimized = false; }
    bool isChecked(int commandId) const override { return checks.at(commandId); }

    // Prev, Next, Pause, Play, Play All, Stop.
    Buttons transport() const {
        Buttons enabled;
        for (const int id : {command::kPrevPage, command::kNextPage, command::kPause,
                             command::kPlay, command::kPlayAll, command::kStop})
            enabled.push_back(buttons.at(id));
        return enabled;
    }

    std::map<int, bool> buttons;
    std::map<int, bool> checks{{command::kAnimate, true}, {command::kMinimizeOnPlay, false}};
    bool menusEnabled = true;
    bool acceleratorsEnabled = true;
    bool minimized = false;
};

// A staff window reduced to what a play reads and a recording writes into.
class FakeWindow : public RecordTarget {
public:
    explicit FakeWindow(SongTiming& timing) : song(timing) {}

    OMBData& playedSong() override { return song; }
    StaffPage& playedPage() override { return page; }
    int soloTrack() const override { return -1; }
    void playStateChanged() override { ++stateChanges; }
    void repaintPage() override {}
    void turnPageTo(int tick) override { page.bringIntoView(tick); }
    void drawHighlight(const Note& note, int) override { drawn.push_back(note.start()); }
    void tempoChanged() override {}
    void refreshStatusBar() override {}
    int currentTrack() const override { return track; }
    UndoHistory& history() override { return undo; }

    OMBData song;
    UndoHistory undo{song};
    StaffPage page{song, 4};
    int track = 2;
    int stateChanges = 0;
    std::vector<int> drawn;  // the start of each note highlighted
};

// Keeps what the Transport posts, for the test to run as the window's thread would.
class PostBox : public CommandPoster {
public:
    void post(int commandId, int param) noexcept override { posts.emplace_back(commandId, param); }
    std::vector<std::pair<int, int>> posts;
};
