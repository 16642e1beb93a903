#include "shell/transport.h"

#include "app/application.h"
#include "notation/staff_window.h"
#include "platform/ui.h"
#include "shell/command_ids.h"
#include "shell/main_menu.h"
#include "shell/main_window.h"
#include "shell/tool_button.h"
#include "shell/toolbar.h"

Transport::Transport(Application& app, MainWindow& window, CommandPoster& poster)
    : app_(app), window_(window), player_(app.device, app.clock, poster, app.ui) {}

void Transport::buttonPressed(int id) {
    if (!playActive_ || (id != command::kStop && id != command::kPause)) {
        return;
    }
    if (id == command::kStop && paused_) {
        EndOfPlay();
        return;
    }
    stopRequested_ = true;
    paused_ = paused_ || id == command::kPause;
    if (!player_.PlayTick(0, true) && !paused_) {
        EndOfPlay();
    }
}

void Transport::minimizeForPlay() {
    if (window_.menu().isChecked(command::kMinimizeOnPlay)) {
        window_.showMinimized();
        minimizedOnPlay_ = true;
    }
}

void Transport::enterPlayMode() {
    playMode_ = true;
    window_.setTopMenusEnabled(false);
    window_.setPlayingButtons();
    animate_ = window_.menu().isChecked(command::kAnimate);
}

void Transport::play() {
    if (window_.currentStaffWindow() == nullptr) {
        return;
    }
    stopRequested_ = false;
    minimizeForPlay();
    enterPlayMode();
    StaffWindow& staff = playActive_ ? *playWindow_ : *window_.currentStaffWindow();
    if (playActive_) {
        // Paused: play on from the first bar the page shows now.
        if (player_.resume(staff.page().firstBar(), animate_)) {
            enable(command::kPlayAll, false);
            enable(command::kStop, true);
            paused_ = false;
            staff.Redraw();
        }
        return;
    }
    savedTempo_ = app_.timing.defaultTempo;
    savedChanged_ = staff.document().song.changed;
    savedFirstBar_ = staff.page().firstBar();
    setPlayActive(true);
    playWindow_ = &staff;
    staff.fitToSize();
    staff.Redraw();
    app_.ui.busyCursorStep(1);
    const StaffViewState& view = staff.view();
    const bool started =
        player_.play(staff.document().song, view.playSolo ? view.currentTrack : -1,
                     staff.page().firstBar(), staff.page().visibleBars(), animate_, &staff);
    app_.ui.setCursor(CursorShape::Arrow);
    if (!started) {
        EndOfPlay();
        return;
    }
    enable(command::kPlayAll, false);
    enable(command::kStop, true);
}

void Transport::playAll() {
    if (window_.currentStaffWindow() == nullptr || playActive_) {
        return;
    }
    StaffWindow& staff = *window_.currentStaffWindow();
    savedTempo_ = app_.timing.defaultTempo;
    savedChanged_ = staff.document().song.changed;
    stopRequested_ = false;
    minimizeForPlay();
    enterPlayMode();
    if (animate_) {
        savedFirstBar_ = staff.page().firstBar();
        staff.page().setFirstBar(1);
    }
    setPlayActive(true);
    playWindow_ = &staff;
    staff.fitToSize();
    staff.Redraw();
    staff.RefreshStatusBar();
    const StaffViewState& view = staff.view();
    if (!player_.playAll(staff.document().song, view.playSolo ? view.currentTrack : -1, animate_,
                         &staff)) {
        playMode_ = false;
        EndOfPlay();
        return;
    }
    for (const int id :
         {command::kPrevPage, command::kNextPage, command::kPlay, command::kPlayAll}) {
        enable(id, false);
    }
    enable(command::kPause, true);
    enable(command::kStop, true);
}

void Transport::pause() {
    if (!playActive_ || !paused_) {
        return;
    }
    player_.pause();
    window_.setStoppedButtons();
    enable(command::kPlayAll, false);
    enable(command::kStop, true);
    playWindow_->Redraw();
}

void Transport::EndOfPlay() {
    StaffWindow& staff = *playWindow_;
    if (minimizedOnPlay_) {
        window_.showNormal();
        minimizedOnPlay_ = false;
    }
    if (animate_) {
        staff.page().setFirstBar(savedFirstBar_);
    }
    app_.timing.defaultTempo = savedTempo_;
    staff.document().song.changed = savedChanged_;
    if (paused_) {
        window_.setStoppedButtons();
        enable(command::kPlayAll, false);
        enable(command::kStop, true);
    }
    StopAll();
    staff.RefreshStatusBar();
}

void Transport::StopAll() {
    player_.stopAll();
    paused_ = false;
    playMode_ = false;
    setPlayActive(false);
    window_.setStoppedButtons();
    enable(command::kPlayAll, true);
    enable(command::kStop, false);
    enable(command::kPause, false);
    window_.setTopMenusEnabled(true);
    if (playWindow_ != nullptr) {
        // The scroll bar of a short piano roll comes back.
        playWindow_->fitToSize();
        playWindow_->Redraw();
    }
    playWindow_ = nullptr;
    app_.ui.setCursor(CursorShape::Arrow);
}

void Transport::setPlayActive(bool active) {
    playActive_ = active;
    window_.menu().setAcceleratorsEnabled(!active);
}

void Transport::playStep(int timerId) {
    // A step posted before Stop or Pause finds nothing to do.
    if (playActive_ && !paused_ && !player_.PlayTick(timerId, false)) {
        EndOfPlay();
    }
}

void Transport::enable(int buttonId, bool enabled) {
    window_.toolbar().button(buttonId)->setEnabled(enabled);
}
