#include "playback/click_player.h"

#include <algorithm>
#include <cmath>

#include "platform/clock.h"
#include "playback/callbacks.h"
#include "playback/midi_device.h"

namespace {

// General MIDI's percussion channel, 10, counted from 0.
constexpr std::uint8_t kPercussionChannel = 9;
// Woken this long before a click is due, to wait out the rest awake (as the player does).
constexpr std::uint64_t kWakeEarlyUs = 1500;

}  // namespace

ClickPlayer::ClickPlayer(MidiDevice& device, Clock& clock, CommandPoster& mainWindow)
    : device_(device), clock_(clock), mainWindow_(mainWindow) {}

ClickPlayer::~ClickPlayer() {
    clock_.killTimer(timerId_);
}

void ClickPlayer::start(const MetronomeClicks& clicks, const MetronomeOptions& sound, int fromTick,
                        int endTick, std::uint64_t originUs, double stretch) {
    stop();
    clicks_.emplace(clicks);
    sound_ = sound;
    endTick_ = endTick;
    anchorTick_ = clicks_->originTick();
    anchorUs_ = originUs;
    stretch_ = stretch;
    next_ = clicks_->next(fromTick);
    soundDueAndArm();
}

void ClickPlayer::reanchor(std::int64_t tick, std::uint64_t us, double stretch, bool rewind) {
    if (!clicks_) {
        return;
    }
    clock_.killTimer(timerId_);
    timerId_ = 0;
    anchorTick_ = tick;
    anchorUs_ = us;
    stretch_ = stretch;
    if (rewind) {
        next_ = clicks_->next(static_cast<int>(tick));
    }
    soundDueAndArm();
}

void ClickPlayer::soundDueAndArm() {
    // A click due now goes out now: a timer would only add its own delay.
    if (next_.tick < endTick_ && dueOf(next_.tick) <= clock_.microseconds()) {
        soundNext();
    }
    armNext();
}

bool ClickPlayer::step(int timerId) {
    if (timerId == 0 || timerId != timerId_) {
        return false;
    }
    timerId_ = 0;
    clock_.waitUntil(dueUs_);
    soundNext();
    armNext();
    return true;
}

void ClickPlayer::soundNext() {
    endSounding();
    const int key = next_.accent ? sound_.accentKey : sound_.beatKey;
    const int velocity = next_.accent ? sound_.accentVelocity : sound_.beatVelocity;
    const std::uint8_t noteOn[] = {0x90 | kPercussionChannel,
                                   static_cast<std::uint8_t>(std::clamp(key, 0, 127)),
                                   static_cast<std::uint8_t>(std::clamp(velocity, 1, 127))};
    device_.sendShort(noteOn);
    soundingKey_ = noteOn[1];
    // Clicks sounded lie before endTick, so the tick after one is still a tick.
    next_ = clicks_->next(next_.tick + 1);
}

void ClickPlayer::stop() {
    clock_.killTimer(timerId_);
    timerId_ = 0;
    endSounding();
}

void ClickPlayer::armNext() {
    if (next_.tick >= endTick_) {
        return;
    }
    dueUs_ = dueOf(next_.tick);
    timerId_ = clock_.startTimerAt(dueUs_ - std::min(dueUs_, kWakeEarlyUs),
                                   [&poster = mainWindow_](int id) { timerCallback(poster, id); });
}

std::uint64_t ClickPlayer::dueOf(int tick) const {
    const double sinceAnchorUs =
        static_cast<double>(clicks_->offsetUs(tick) -
                            clicks_->offsetUs(static_cast<int>(anchorTick_))) *
        stretch_;
    const std::int64_t dueUs = static_cast<std::int64_t>(anchorUs_) + std::llround(sinceAnchorUs);
    return static_cast<std::uint64_t>(std::max<std::int64_t>(dueUs, 0));
}

void ClickPlayer::endSounding() {
    if (soundingKey_ < 0) {
        return;
    }
    const std::uint8_t noteOff[] = {0x80 | kPercussionChannel,
                                    static_cast<std::uint8_t>(soundingKey_), 0};
    device_.sendShort(noteOff);
    soundingKey_ = -1;
}
