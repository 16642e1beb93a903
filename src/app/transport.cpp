#include "app/transport.h"

#include <algorithm>
#include <climits>
#include <string>

#include "app/application.h"
#include "app/command_ids.h"
#include "app/file_commands.h"
#include "app/play_target.h"
#include "app/record_target.h"
#include "app/transport_controls.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "staff/staff_page.h"

Transport::Transport(Application& app, TransportControls& controls, CommandPoster& poster)
    : app_(app),
      controls_(controls),
      player_(app.device, app.clock, poster, app.ui),
      recorder_(app, poster),
      clicks_(app.device, app.clock, poster) {
    player_.setLeadIn([this](int originTick) { return prepareClicks(originTick); });
    player_.setLeadingBankSelect(
        [&app] { return app.soundFontControl ? app.soundFontState.leadingBankSelect() : -1; });
    player_.setTrackMix(app.trackMix);
    player_.setSpeedPercent(app.speedPercent);
    player_.setLoop(app.playLoop);
}

void Transport::showStopped(bool haveSong) {
    showButtons(haveSong, false, haveSong, false);
}

void Transport::buttonPressed(int id) {
    if (recording() && id == command::kStop) {
        StopAll();
        return;
    }
    if (!playActive_ || (id != command::kStop && id != command::kPause)) {
        return;
    }
    stopRequested_ = true;
    if (id == command::kStop && paused_) {
        EndOfPlay();
        return;
    }
    paused_ = paused_ || id == command::kPause;
    if (!player_.PlayTick(0, true) && !paused_) {
        EndOfPlay();
    }
}

void Transport::enterPlayMode() {
    stopRequested_ = false;
    if (controls_.isChecked(command::kMinimizeOnPlay)) {
        controls_.minimize();
        minimizedOnPlay_ = true;
    }
    playMode_ = true;
    controls_.setTopMenusEnabled(false);
    for (const int id : {command::kPrevPage, command::kNextPage, command::kPlay}) {
        enable(id, false);
    }
    if (playActive_) {
        enable(command::kPause, true);
    }
    animate_ = controls_.isChecked(command::kAnimate);
}

void Transport::takeTarget(PlayTarget& target, bool fromFirstBar) {
    savedTempo_ = app_.timing.defaultTempo;
    savedChanged_ = target.playedSong().changed;
    savedFirstBar_ = target.playedPage().firstBar();
    if (fromFirstBar && animate_) {
        target.playedPage().setFirstBar(1);
    }
    setPlayActive(true);
    target_ = &target;
    target.playStateChanged();
}

void Transport::play(PlayTarget* current) {
    if (current == nullptr) {
        return;
    }
    enterPlayMode();
    if (playActive_) {
        resume();
        return;
    }
    takeTarget(*current, false);
    app_.ui.busyCursorStep(1);
    const StaffPage& page = current->playedPage();
    const bool started = player_.play(current->playedSong(), current->soloTrack(), page.firstBar(),
                                      page.visibleBars(), animate_, current);
    app_.ui.setCursor(CursorShape::Arrow);
    if (!started) {
        EndOfPlay();
        return;
    }
    startClicks();
    enable(command::kPlayAll, false);
    enable(command::kStop, true);
}

void Transport::resume() {
    // Play on from the first bar the page shows now.
    if (player_.resume(target_->playedPage().firstBar(), animate_)) {
        startClicks();
        enable(command::kPlayAll, false);
        enable(command::kStop, true);
        paused_ = false;
        target_->repaintPage();
    }
}

void Transport::playAll(PlayTarget* current) {
    if (current == nullptr || playActive_) {
        return;
    }
    enterPlayMode();
    takeTarget(*current, true);
    current->refreshStatusBar();
    if (!player_.playAll(current->playedSong(), current->soloTrack(), animate_, current)) {
        EndOfPlay();
        return;
    }
    startClicks();
    showButtons(false, true, false, true);
}

void Transport::pause() {
    if (!playActive_ || !paused_) {
        return;
    }
    clicks_.stop();
    player_.pause();
    showButtons(true, false, false, true);
    target_->repaintPage();
}

void Transport::EndOfPlay() {
    PlayTarget& target = *target_;
    if (minimizedOnPlay_) {
        controls_.restore();
        minimizedOnPlay_ = false;
    }
    if (animate_) {
        target.playedPage().setFirstBar(savedFirstBar_);
    }
    app_.timing.defaultTempo = savedTempo_;
    target.playedSong().changed = savedChanged_;
    StopAll();
    target.refreshStatusBar();
}

void Transport::StopAll() {
    clicks_.stop();
    if (const std::uint32_t lost = recorder_.stop(); lost > 0) {
        app_.ui.notice(std::to_string(lost) + " input messages lost: the input queue was full");
    }
    player_.stopAll();
    paused_ = false;
    playMode_ = false;
    setPlayActive(false);
    showStopped(true);
    controls_.setTopMenusEnabled(true);
    if (target_ != nullptr) {
        // The scroll bar of a short piano roll comes back.
        target_->playStateChanged();
    }
    target_ = nullptr;
    app_.ui.setCursor(CursorShape::Arrow);
    if (playListActive_ && playNextEntry_) {
        playListActive_ = false;
        playNextEntry_(stopRequested_);
    }
}

void Transport::RecordStart(RecordTarget* current, const std::function<RecordTarget*()>& newSong,
                            const std::function<bool()>& configure) {
    if (playActive_) {
        app_.ui.notice(FileCommands::kPlayModeMessage);
        return;
    }
    if (recording() || (current == nullptr && (current = newSong()) == nullptr) ||
        !recordDeviceChosen(configure)) {
        return;
    }
    controls_.setTopMenusEnabled(false);
    controls_.setAcceleratorsEnabled(false);
    showButtons(false, false, false, true);
    const MetronomeOptions options = app_.settings.metronome();
    std::optional<MetronomeClicks> clicks;
    std::uint64_t leadInUs = 0;
    if (options.forRecord || options.countInBars > 0) {
        // A take counts ticks at the song-wide tempo from its start, whatever tempo events say.
        clicks.emplace(current->playedSong(), -1, options.eighthsInCompound, false,
                       app_.timing.defaultTempo, 0, options.countInBars);
        leadInUs = static_cast<std::uint64_t>(-clicks->offsetUs(clicks->countInStart()));
    }
    recorder_.setLeadInMs(static_cast<std::uint32_t>(leadInUs / 1000));
    if (!recorder_.start(*current)) {
        StopAll();
        return;
    }
    if (clicks) {
        clicks_.start(*clicks, options, clicks->countInStart(), options.forRecord ? INT_MAX : 0,
                      app_.clock.microseconds() + leadInUs);
    }
}

bool Transport::recordDeviceChosen(const std::function<bool()>& configure) {
    if (!app_.device.inputEnabled()) {
        app_.deviceConfiguration.selectSavedInput();
    }
    if (app_.device.inputEnabled()) {
        return true;
    }
    if (!configure()) {
        return false;
    }
    if (!app_.device.inputEnabled()) {
        app_.ui.notice("No Input Driver Selected");
    }
    return app_.device.inputEnabled();
}

void Transport::toggleMute(int track) {
    TrackMix mix = app_.trackMix;
    mix.setMuted(track, !mix.muted(track));
    setMix(mix, "Track " + std::to_string(track + 1) + (mix.muted(track) ? " muted" : " unmuted"));
}

void Transport::toggleSolo(int track) {
    TrackMix mix = app_.trackMix;
    mix.setSoloed(track, !mix.soloed(track));
    setMix(mix,
           "Track " + std::to_string(track + 1) + (mix.soloed(track) ? " soloed" : " solo off"));
}

void Transport::clearMix() {
    setMix(TrackMix(), "Every track sounds");
}

void Transport::setSpeed(int percent) {
    player_.setSpeedPercent(percent);
    if (player_.playing() && playClicks_) {
        followPlayWithClicks(false);
    }
    app_.speedPercent = player_.speedPercent();
    app_.settings.setSpeedPercent(app_.speedPercent);
    app_.ui.notice("Speed " + std::to_string(app_.speedPercent) + "%");
}

void Transport::setLoop(const PlayLoop& requested) {
    PlayLoop loop = requested;
    loop.firstBar = std::max(loop.firstBar, 1);
    loop.lastBar = std::max(loop.lastBar, loop.firstBar);
    app_.playLoop = loop;
    player_.setLoop(loop);
    app_.settings.setPlayLoop(loop);
    const std::string first = std::to_string(loop.firstBar);
    app_.ui.notice(!loop.on ? "Loop off"
                   : loop.lastBar <= loop.firstBar
                       ? "Loop bar " + first
                       : "Loop bars " + first + "-" + std::to_string(loop.lastBar));
}

void Transport::setMix(const TrackMix& mix, const std::string& notice) {
    app_.trackMix = mix;
    player_.setTrackMix(mix);
    app_.settings.setTrackMix(mix);
    app_.ui.notice(notice);
}

void Transport::toggleMetronomeForPlay() {
    MetronomeOptions options = app_.settings.metronome();
    options.forPlay = !options.forPlay;
    setMetronome(options, options.forPlay ? "Metronome for Play on" : "Metronome for Play off");
}

void Transport::toggleMetronomeForRecord() {
    MetronomeOptions options = app_.settings.metronome();
    options.forRecord = !options.forRecord;
    setMetronome(options,
                 options.forRecord ? "Metronome for Record on" : "Metronome for Record off");
}

void Transport::toggleClickEighths() {
    MetronomeOptions options = app_.settings.metronome();
    options.eighthsInCompound = !options.eighthsInCompound;
    setMetronome(options, options.eighthsInCompound ? "Compound meters click eighths"
                                                    : "Compound meters click dotted quarters");
}

void Transport::setCountInBars(int bars) {
    MetronomeOptions options = app_.settings.metronome();
    options.countInBars = bars;
    setMetronome(options, bars == 0   ? "No count-in"
                          : bars == 1 ? "Count-in of 1 bar"
                                      : "Count-in of " + std::to_string(bars) + " bars");
}

void Transport::setMetronome(const MetronomeOptions& options, const std::string& notice) {
    app_.settings.setMetronome(options);
    app_.ui.notice(notice);
}

int Transport::prepareClicks(int originTick) {
    clickOptions_ = app_.settings.metronome();
    playClicks_.reset();
    if (target_ == nullptr || (!clickOptions_.forPlay && clickOptions_.countInBars == 0)) {
        return 0;
    }
    playClicks_.emplace(target_->playedSong(), target_->soloTrack(),
                        clickOptions_.eighthsInCompound, true, savedTempo_, originTick,
                        clickOptions_.countInBars);
    return originTick - playClicks_->countInStart();
}

void Transport::startClicks() {
    if (!playClicks_) {
        return;
    }
    // The play's end stops the clicks; without the metronome the count-in's are all there are.
    // A loop's pass ends them too; its next pass starts them again (playStep).
    const int endTick = clickOptions_.forPlay ? player_.passEndTick() : player_.originTick();
    clicks_.start(*playClicks_, clickOptions_, playClicks_->countInStart(), endTick,
                  player_.startTimeUs(), clickStretch());
}

double Transport::clickStretch() const {
    return 100.0 / player_.speedPercent();
}

void Transport::followPlayWithClicks(bool rewind) {
    const Player::Anchor anchor = player_.anchor();
    clicks_.reanchor(anchor.tick, anchor.us, clickStretch(), rewind);
}

void Transport::setPlayActive(bool active) {
    playActive_ = active;
    controls_.setAcceleratorsEnabled(!active);
}

void Transport::playStep(int timerId) {
    if (clicks_.step(timerId)) {
        return;
    }
    // A step posted before Stop or Pause finds nothing to do.
    if (!playActive_ || paused_) {
        return;
    }
    const int passes = player_.passesStarted();
    if (!player_.PlayTick(timerId, false)) {
        EndOfPlay();
    } else if (player_.passesStarted() != passes && playClicks_) {
        followPlayWithClicks(true);
    }
}

void Transport::showButtons(bool pageAndPlay, bool pause, bool playAll, bool stop) {
    for (const int id : {command::kPrevPage, command::kNextPage, command::kPlay}) {
        enable(id, pageAndPlay);
    }
    enable(command::kPause, pause);
    enable(command::kPlayAll, playAll);
    enable(command::kStop, stop);
}

void Transport::enable(int buttonId, bool enabled) {
    controls_.setButtonEnabled(buttonId, enabled);
    // Record is usable exactly when Stop is not: in the stopped state.
    if (buttonId == command::kStop) {
        controls_.setButtonEnabled(command::kRecord, !enabled);
    }
}
