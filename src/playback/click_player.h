#pragma once

#include <cstdint>
#include <optional>

#include "playback/metronome_clicks.h"
#include "playback/metronome_options.h"

class Clock;
class CommandPoster;
class MidiDevice;

// Sounds metronome clicks through the MIDI device on its own chain of one-shot timers, beside
// whatever else plays: a play or a recording. Each click is a note-on on channel 10 (the
// accent or the beat key of the options), ended by its note-off just before the next click or
// at stop(). Times are absolute on the clock from an origin, so a late step makes no later
// click late. Its timers post ID_PLAY_STEP like the player's; the main window hands each step
// to step() first. Window thread only.
class ClickPlayer {
public:
    ClickPlayer(MidiDevice& device, Clock& clock, CommandPoster& mainWindow);
    ~ClickPlayer();
    ClickPlayer(const ClickPlayer&) = delete;
    ClickPlayer& operator=(const ClickPlayer&) = delete;

    // Clicks from fromTick on, up to (not at) endTick: the click at tick t sounds at originUs
    // (the origin tick's time on the clock's microseconds scale) + clicks.offsetUs(t). A click
    // whose time is past sounds at once. Replaces any clicks still to come.
    // stretch lengthens every time by that factor: the play's speed, 2 at half speed.
    void start(const MetronomeClicks& clicks, const MetronomeOptions& sound, int fromTick,
               int endTick, std::uint64_t originUs, double stretch = 1);
    // Times the clicks still to come from a new anchor: the click at tick t sounds at us +
    // (clicks.offsetUs(t) - clicks.offsetUs(tick)) x stretch, as a play goes on after a change
    // of speed. With rewind the clicks start again from tick, as at a loop's next pass.
    void reanchor(std::int64_t tick, std::uint64_t us, double stretch, bool rewind);
    // The step of timer timerId: true when the timer was this player's (its click has gone
    // out), false when it belongs to someone else.
    bool step(int timerId);
    // No further click; the last one's note-off goes out when it still sounds.
    void stop();

    bool clicking() const { return timerId_ != 0; }

private:
    // Sounds the next click and moves on to the one after it.
    void soundNext();
    void armNext();
    void soundDueAndArm();
    std::uint64_t dueOf(int tick) const;
    void endSounding();

    MidiDevice& device_;
    Clock& clock_;
    CommandPoster& mainWindow_;
    std::optional<MetronomeClicks> clicks_;
    MetronomeOptions sound_;
    int endTick_ = 0;
    std::int64_t anchorTick_ = 0;
    std::uint64_t anchorUs_ = 0;
    double stretch_ = 1;
    MetronomeClicks::Click next_{0, false};
    std::uint64_t dueUs_ = 0;
    int timerId_ = 0;
    // The key of the click that sounds; -1 when none does.
    int soundingKey_ = -1;
};
