#include "playback/player.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "model/beat_division.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "playback/callbacks.h"
#include "playback/midi_device.h"
#include "playback/play_view.h"

namespace {

// The longest wait one timer covers.
constexpr std::uint32_t kTimerStepTicks = 240;
// The least time between two messages on a wire.
constexpr std::uint64_t kMinSpacingUs = 1000;
// The step that sends a message is woken this long before the message is due and waits out
// the rest awake: waking the window thread takes up to a millisecond or two on a loaded
// system, and a message should not be late by that much.
constexpr std::uint64_t kWakeEarlyUs = 1500;

int clampedTick(std::int64_t tick) {
    return static_cast<int>(std::clamp<std::int64_t>(tick, 0, PlayBufferBuilder::kSongEnd));
}

// Index of the last element at or before tick; -1 when there is none.
int lastAtOrBefore(const Track& track, int tick) {
    const int after = tick == PlayBufferBuilder::kSongEnd ? -1 : track.firstAtOrAfter(tick + 1);
    return (after < 0 ? track.count() : after) - 1;
}

// The last tempo event at or before index; null when there is none.
const Event* tempoAtOrBefore(const Track& track, int index) {
    for (int i = index; i >= 0; --i) {
        const Element* element = track.at(i);
        if (element->isEvent() && static_cast<const Event*>(element)->isMeta(Event::kMetaTempo)) {
            return static_cast<const Event*>(element);
        }
    }
    return nullptr;
}

}  // namespace

Player::Player(MidiDevice& device, Clock& clock, CommandPoster& mainWindow, Ui& ui)
    : device_(device), clock_(clock), mainWindow_(mainWindow), ui_(ui), builder_(ui) {}

Player::~Player() {
    clock_.killTimer(timerId_);
}

bool Player::play(const OMBData& song, int soloTrack, int firstBar, int visibleBars, bool animate,
                  PlayView* view) {
    if (loop_.on) {
        return playLoop(song, soloTrack, animate, view);
    }
    const std::int64_t ticksPerBar = barLengthTicks(song.timeSignature, song.timeDivision);
    const std::int64_t barsBefore = std::max(firstBar, 1) - 1;
    return startFresh(song, soloTrack, std::max(firstBar, 1), clampedTick(barsBefore * ticksPerBar),
                      clampedTick((barsBefore + visibleBars) * ticksPerBar), animate, view, false);
}

bool Player::playAll(const OMBData& song, int soloTrack, bool animate, PlayView* view) {
    if (loop_.on) {
        return playLoop(song, soloTrack, animate, view);
    }
    return startFresh(song, soloTrack, 1, 0, PlayBufferBuilder::kSongEnd, animate, view, false);
}

bool Player::playLoop(const OMBData& song, int soloTrack, bool animate, PlayView* view) {
    const std::int64_t ticksPerBar = barLengthTicks(song.timeSignature, song.timeDivision);
    const int firstBar = std::max(loop_.firstBar, 1);
    const std::int64_t bars = std::int64_t{std::max(loop_.lastBar, firstBar)} - firstBar + 1;
    const std::int64_t barsBefore = firstBar - 1;
    return startFresh(song, soloTrack, firstBar, clampedTick(barsBefore * ticksPerBar),
                      clampedTick((barsBefore + bars) * ticksPerBar), animate, view, true);
}

bool Player::startFresh(const OMBData& song, int soloTrack, int firstBar, int fromTick, int toTick,
                        bool animate, PlayView* view, bool loop) {
    stopTimer();
    loopTicks_ = loop ? toTick - fromTick : 0;
    warnAboutOutput(song);
    song_ = &song;
    view_ = view;
    startTempo_ = song.timing().defaultTempo;
    bufferFirstBar_ = firstBar;
    bufferFromTick_ = fromTick;
    originTick_ = fromTick;
    if (builder_.BuildPlayBuffer(song, soloTrack, fromTick, toTick, buffer_) &&
        StartPlayback(animate, fromTick, 0)) {
        return true;
    }
    ui_.notice("Nothing to Play");
    return false;
}

bool Player::resume(int firstBar, bool animate) {
    if (song_ == nullptr || buffer_.empty()) {
        return false;
    }
    warnAboutOutput(*song_);
    // Buffer bar 1 is the song bar the play began at.
    const std::int64_t bar = std::int64_t{firstBar} - bufferFirstBar_ + 1;
    if (bar < 1 || bar > buffer_.lastBar()) {
        return false;
    }
    const PlayBuffer::BarStart start = buffer_.barStart(static_cast<int>(bar));
    // The wait before the bar's first message counts from the message before it.
    int offset = start.offset;
    originTick_ = clampedTick(std::int64_t{bufferFromTick_} + start.tick - buffer_.readVlq(offset));
    return StartPlayback(animate, clampedTick(std::int64_t{bufferFromTick_} + start.tick),
                         start.offset);
}

bool Player::StartPlayback(bool animate, int fromTick, int startOffset) {
    stopTimer();
    ready_ = true;
    pendingTicks_ = 0;
    readPosition_ = startOffset;
    scheduleBaseUs_ = 0;
    ticksSinceBase_ = 0;
    baseTick_ = originTick_;
    passesStarted_ = 0;
    lastDrawnTime_ = 0;
    highlightPending_ = false;
    animate_ = animate && view_ != nullptr;
    if (buffer_.empty()) {
        return false;
    }
    if (!device_.openOutput(true)) {
        ui_.errorBox("Could not initialize the output device");
        return false;
    }
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        trackCursors_[t] = song_->track(t).firstAtOrAfter(fromTick);
    }
    const std::uint32_t usPerQuarter = chaseTempo(fromTick);
    if (loopTicks_ > 0) {
        // Every pass starts alike, the first as well.
        chaseControllers(fromTick);
    }
    chasePrograms(fromTick);
    const int tempo = song_->timing().defaultTempo;
    if (tempo <= 0 || song_->timeDivision <= 0) {
        ui_.errorBox("Invalid tempo or time division");
        device_.closeOutput();
        return false;
    }
    usPerQuarter_ = usPerQuarter;
    usPerTick_ = usPerTick(usPerQuarter);
    tempoShown_ = tempo;
    if (view_ != nullptr) {
        view_->refreshStatusBar();
    }
    playEnd_ = buffer_.length();
    const int leadInTicks = leadInTicks_ ? std::max(leadInTicks_(originTick_), 0) : 0;
    startUs_ =
        clock_.microseconds() + static_cast<std::uint64_t>(std::llround(usPerTick_ * leadInTicks));
    passEndDue_ = false;
    const std::uint32_t delta = buffer_.readVlq(readPosition_);
    // The message at fromTick follows a wait of delta.
    passTicks_ = std::max<std::int64_t>(0, std::int64_t{fromTick} - bufferFromTick_ - delta);
    if (!scheduleMessage(delta)) {
        playEnd_ = 0;
        device_.closeOutput();
        return false;
    }
    return true;
}

bool Player::PlayTick(int timerId, bool stop) {
    if (stop || playEnd_ == 0) {
        stopTimer();
        return false;
    }
    if (timerId != timerId_) {
        return true;
    }
    bool armed = false;
    if (!ready_) {
        armed = schedule(pendingTicks_);
    } else if (passEndDue_) {
        clock_.waitUntil(dueUs_);
        armed = startNextPass();
        showProgress();
    } else {
        clock_.waitUntil(dueUs_);
        messageOutUs_ = clock_.microseconds();
        processMessage();
        armed = scheduleMessage(buffer_.readVlq(readPosition_));
        showProgress();
    }
    if (!armed) {
        playEnd_ = 0;
    }
    return armed;
}

bool Player::scheduleMessage(std::uint32_t delta) {
    // The delta just read lay past the last message.
    const bool lastSent = readPosition_ >= buffer_.length();
    if (loopTicks_ > 0 && (lastSent || passTicks_ + delta >= loopTicks_)) {
        // What lies at or past the range's end is the note-offs of notes that cross it: the
        // pass's end releases them.
        passEndDue_ = true;
        delta = static_cast<std::uint32_t>(std::max<std::int64_t>(0, loopTicks_ - passTicks_));
    } else if (lastSent) {
        // The next step ends the play.
        playEnd_ = 0;
    }
    passTicks_ += delta;
    return schedule(delta);
}

bool Player::startNextPass() {
    passEndDue_ = false;
    device_.releaseSoundingNotes();
    if (!loop_.on) {
        return false;
    }
    device_.sendInitialSettings();
    usPerQuarter_ = chaseTempo(bufferFromTick_);
    chaseControllers(bufferFromTick_);
    chasePrograms(bufferFromTick_);
    // The schedule runs on from the range's end: no pass is timed from the clock, so none
    // drifts.
    rebaseSchedule();
    baseTick_ = bufferFromTick_;
    ++passesStarted_;
    readPosition_ = 0;
    passTicks_ = 0;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        trackCursors_[t] = song_->track(t).firstAtOrAfter(bufferFromTick_);
    }
    highlightPending_ = false;
    if (animate_) {
        lastDrawnTime_ = bufferFromTick_;
        view_->turnPageTo(bufferFromTick_);
    }
    return scheduleMessage(buffer_.readVlq(readPosition_));
}

void Player::pause() {
    stopTimer();
    device_.closeOutput();
}

void Player::stopAll() {
    stopTimer();
    buffer_.clear();
    device_.closeOutput();
    song_ = nullptr;
    view_ = nullptr;
}

void Player::stopTimer() {
    clock_.killTimer(timerId_);
    timerId_ = 0;
    playEnd_ = 0;
}

void Player::warnAboutOutput(const OMBData& song) const {
    if (!device_.outputEnabled()) {
        ui_.notice("No Play driver selected, use configuration menu");
        return;
    }
    const bool anyProgram = std::any_of(song.program.begin(), song.program.end(),
                                        [](int program) { return program != OMBData::kNoProgram; });
    if (!anyProgram && !device_.isBuiltInSynthesizer()) {
        ui_.notice("Warning no initial voice settings");
    }
}

std::uint32_t Player::chaseTempo(int fromTick) {
    // The tempo of the last tempo event at or before fromTick; the later track wins.
    int tempo = startTempo_;
    std::uint32_t usPerQuarter = Event::usPerQuarterOf(tempo);
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song_->track(t);
        const Event* inForce = tempoAtOrBefore(track, lastAtOrBefore(track, fromTick));
        // A tempo event of 0 plays at the song-wide tempo.
        if (inForce != nullptr && inForce->data2() > 0) {
            tempo = inForce->data2();
            usPerQuarter = inForce->usPerQuarter();
        }
    }
    song_->timing().defaultTempo = tempo;
    return usPerQuarter;
}

void Player::chasePrograms(int fromTick) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song_->track(t);
        for (int i = 0; i < track.count() && track.at(i)->time() <= fromTick; ++i) {
            const Element* element = track.at(i);
            if (element->isEvent() && static_cast<const Event*>(element)->isProgramChange()) {
                const auto* event = static_cast<const Event*>(element);
                device_.sendProgramChange(event->status() & 0x0F, event->data1());
            }
        }
    }
}

void Player::chaseControllers(int fromTick) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song_->track(t);
        for (int i = 0; i < track.count() && track.at(i)->time() <= fromTick; ++i) {
            const Element* element = track.at(i);
            if (element->isEvent() &&
                (static_cast<const Event*>(element)->status() & 0xF0) == 0xB0) {
                const auto* event = static_cast<const Event*>(element);
                const std::uint8_t message[] = {static_cast<std::uint8_t>(event->status()),
                                                static_cast<std::uint8_t>(event->data1() & 0x7F),
                                                static_cast<std::uint8_t>(event->data2() & 0x7F)};
                device_.sendShort(message);
            }
        }
    }
}

bool Player::schedule(std::uint32_t ticks) {
    const std::uint32_t piece = std::min(ticks, kTimerStepTicks);
    pendingTicks_ = ticks - piece;
    ready_ = pendingTicks_ == 0;
    ticksSinceBase_ += piece;
    const auto dueUs = startUs_ + static_cast<std::uint64_t>(
                                      std::llround(scheduleBaseUs_ + usPerTick_ * ticksSinceBase_));
    // The wire's spacing counts from when the last message went out, so that the time a send
    // takes does not push each note of a chord later than the one before.
    const std::uint64_t sinceUs = messageOutUs_ != 0 ? messageOutUs_ : clock_.microseconds();
    messageOutUs_ = 0;
    const std::uint64_t earliestUs =
        std::max(clock_.microseconds(), sinceUs + (pacing_ == Pacing::Wire ? kMinSpacingUs : 0));
    dueUs_ = std::max(dueUs, earliestUs);
    timerId_ = clock_.startTimerAt(ready_ ? dueUs_ - std::min(dueUs_, kWakeEarlyUs) : dueUs_,
                                   [&poster = mainWindow_](int id) { timerCallback(poster, id); });
    return timerId_ != 0;
}

void Player::processMessage() {
    const std::uint8_t status = nextByte();
    switch (status & 0xF0) {
        case 0x80:
        case 0x90:
            playNote(status);
            break;
        case 0xA0:
        case 0xB0:
        case 0xE0:
            sendChannelMessage(status, 2);
            break;
        case 0xC0:
        case 0xD0:
            sendChannelMessage(status, 1);
            break;
        case 0xF0:
            playSystemMessage(status);
            break;
        default:
            // No message starts with a data byte.
            break;
    }
}

void Player::playNote(std::uint8_t status) {
    if (status < 0x90) {
        const std::uint8_t key = nextByte();
        nextByte();  // the note's own velocity: note-offs go out with 0
        const std::uint8_t noteOff[] = {status, key, 0};
        device_.sendShort(noteOff);
        return;
    }
    noteTrack_ = nextByte() & 0x0F;
    const std::uint8_t key = nextByte();
    const std::uint8_t velocity = nextByte();
    if (animate_) {
        findNoteToHighlight();
    }
    if (velocity != Note::kRestVelocity && mix_.audible(noteTrack_)) {
        const std::uint8_t noteOn[] = {status, key, velocity};
        device_.sendShort(noteOn);
    }
}

void Player::sendChannelMessage(std::uint8_t status, int dataBytes) {
    std::uint8_t message[3] = {status, nextByte(), 0};
    if (dataBytes == 2) {
        message[2] = nextByte();
    }
    device_.sendShort({message, static_cast<std::size_t>(1 + dataBytes)});
}

void Player::playSystemMessage(std::uint8_t status) {
    if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
        const std::uint8_t metaType = status == 0xFF ? nextByte() : 0;
        const std::uint32_t length = buffer_.readVlq(readPosition_);
        const std::span<const std::uint8_t> data = buffer_.bytesAt(readPosition_, length);
        readPosition_ += static_cast<int>(data.size());
        if (status == 0xFF) {
            if (metaType == Event::kMetaTempo && data.size() >= 3) {
                changeTempo(std::uint32_t{data[0]} << 16 | data[1] << 8 | data[2]);
            }
        } else if (status == 0xF7) {
            // An escaped message: its bytes go out as they are.
            device_.sendLong(data);
        } else {
            try {
                longMessage_.assign(1, status);
                longMessage_.insert(longMessage_.end(), data.begin(), data.end());
                device_.sendLong(longMessage_);
            } catch (const std::bad_alloc&) {
                ui_.errorBox("MEMORY ALLOCATION PROBLEM", "");
            }
        }
        return;
    }
    // System common and real-time messages: song position, song select, tune request, clock
    // and the others, with the data bytes their status calls for.
    std::uint8_t message[3] = {status, 0, 0};
    const int dataBytes = status == 0xF2 ? 2 : status == 0xF3 ? 1 : 0;
    for (int i = 1; i <= dataBytes; ++i) {
        message[i] = nextByte();
    }
    device_.sendShort({message, static_cast<std::size_t>(1 + dataBytes)});
}

void Player::changeTempo(std::uint32_t usPerQuarter) {
    // A tempo of 0 microseconds would be infinitely fast: the tempo stays.
    if (usPerQuarter == 0) {
        return;
    }
    // The song shows whole bpm; the ticks are timed from the exact value.
    song_->timing().defaultTempo = Event::bpmOf(usPerQuarter);
    usPerQuarter_ = usPerQuarter;
    rebaseSchedule();
}

void Player::setSpeedPercent(int percent) {
    speedPercent_ = std::clamp(percent, kSlowestSpeedPercent, kFastestSpeedPercent);
    if (playing()) {
        rebaseSchedule();
    }
}

Player::Anchor Player::anchor() const {
    return {baseTick_, startUs_ + static_cast<std::uint64_t>(std::llround(scheduleBaseUs_))};
}

int Player::passEndTick() const {
    return loopTicks_ > 0 ? clampedTick(std::int64_t{bufferFromTick_} + loopTicks_) : INT_MAX;
}

void Player::rebaseSchedule() {
    // What is scheduled so far keeps its time; the ticks after it take the new length.
    scheduleBaseUs_ += usPerTick_ * ticksSinceBase_;
    baseTick_ += ticksSinceBase_;
    ticksSinceBase_ = 0;
    usPerTick_ = usPerTick(usPerQuarter_);
}

void Player::findNoteToHighlight() {
    int& cursor = trackCursors_[noteTrack_];
    if (cursor < 0) {
        return;
    }
    const Track& track = song_->track(noteTrack_);
    while (cursor < track.count() && !track.at(cursor)->isNote()) {
        ++cursor;
    }
    highlightPending_ = cursor < track.count();
}

void Player::showProgress() {
    if (highlightPending_) {
        int& cursor = trackCursors_[noteTrack_];
        const auto& note = static_cast<const Note&>(*song_->track(noteTrack_).at(cursor));
        if (note.start() > lastDrawnTime_) {
            view_->turnPageTo(note.start());
            lastDrawnTime_ = note.start();
        }
        view_->drawHighlight(note, noteTrack_);
        ++cursor;
        highlightPending_ = false;
    }
    const int tempo = song_->timing().defaultTempo;
    if (view_ != nullptr && tempo != tempoShown_) {
        tempoShown_ = tempo;
        view_->tempoChanged();
    }
}

double Player::usPerTick(std::uint32_t usPerQuarter) const {
    // At 100 % the factor is exactly 1: the song's own schedule is kept to the microsecond.
    return static_cast<double>(usPerQuarter) / song_->timeDivision * (100.0 / speedPercent_);
}
