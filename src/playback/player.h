#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/omb_data.h"
#include "playback/play_buffer.h"
#include "playback/play_buffer_builder.h"
#include "playback/play_loop.h"
#include "playback/track_mix.h"

class Clock;
class CommandPoster;
class MidiDevice;
class PlayView;
class Ui;

// The playback engine. It plays a play buffer through the MIDI device, paced by a chain of
// one-shot timers: each expiry posts ID_PLAY_STEP to the main window, whose handler calls
// PlayTick with the timer's id; PlayTick sends the next message and arms the timer for the
// one after. Timers are armed for times on an absolute schedule counted from the start, so a
// late message makes none of the following ones late. Long waits are taken in pieces of at
// most 240 ticks, and two messages never go out less than 1 ms apart, the time a MIDI cable
// takes to carry one: a chord sounds one note per millisecond. A render into a file, which
// has no cable, plays each message at its own time instead (Pacing::Exact). A tempo event
// changes the pace from its own time on, without a jump.
//
// Sending follows the device rules: note-offs go out with velocity 0, a note of velocity 1
// (a rest) is not sent but its note-off is, system common and real-time messages are sent.
//
// The main window owns the play state (playing, paused, stop requested), the buttons and the
// menus; the Player only plays and reports. As tempo events play it changes the song-wide
// tempo (SongTiming::defaultTempo); the caller puts back the tempo it saved when the play
// ends. Window thread only. The song, and the view, must outlive the play (until stopAll).
class Player {
public:
    // Wire: at least 1 ms between two messages, as a MIDI cable carries them. Exact: each
    // message at its time on the schedule, however many share it.
    enum class Pacing { Wire, Exact };

    Player(MidiDevice& device, Clock& clock, CommandPoster& mainWindow, Ui& ui);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Play: builds the buffer from the visibleBars bars from firstBar on (1-based) of the
    // tracks that take part (soloTrack 0-15 alone, or all when it is -1) and starts playing.
    // With animate the view highlights each note played and turns the page; without, the view
    // (which may be null) only shows the tempo. First the message line may say "No Play
    // driver selected, use configuration menu" (no output chosen: it plays in silence) or
    // "Warning no initial voice settings" (no track has a program and the output is not the
    // built-in synthesizer). On failure (nothing in the bars, the device does not open, tempo
    // or time division 0) the message line says "Nothing to Play", after any error box, and
    // the result is false: the caller ends the play (EndOfPlay).
    bool play(const OMBData& song, int soloTrack, int firstBar, int visibleBars, bool animate,
              PlayView* view);
    // Play All: the same for the whole song.
    bool playAll(const OMBData& song, int soloTrack, bool animate, PlayView* view);

    // Wire unless set; takes effect from the next message scheduled.
    void setPacing(Pacing pacing) { pacing_ = pacing; }

    // Which tracks' notes go out. It may change while a song plays: a note-on follows the mix
    // of the moment it is sent. Every note-off goes out whatever the mix, so a note that
    // sounds when its track is muted does not hang; one that never sounded is harmless.
    void setTrackMix(const TrackMix& mix) { mix_ = mix; }

    // Practice speed, kSlowestSpeedPercent to kFastestSpeedPercent of the song's tempo (100 on
    // a new Player): the schedule stretches or shrinks while the tempo the song shows stays.
    // It may change while a song plays: what is scheduled keeps its time and the ticks after
    // it take the new pace, without a jump. A value outside the range is held to it.
    void setSpeedPercent(int percent);
    int speedPercent() const { return speedPercent_; }
    static constexpr int kSlowestSpeedPercent = 25;
    static constexpr int kFastestSpeedPercent = 200;

    // The practice loop. While it is on, Play and Play All play its bars over and over: each
    // pass starts exactly one range length after the last on the same schedule, so the passes
    // do not drift; at the range's end the notes still sounding are released, and the next
    // pass starts as a play does, from the initial settings with the tempo, programs and
    // controllers in force at the range's start. Read when a play starts, and at each range
    // end: turned off, the play ends there.
    void setLoop(const PlayLoop& loop) { loop_ = loop; }

    // See PlayBufferBuilder::setLeadingBankSelect.
    void setLeadingBankSelect(std::function<int()> bank) {
        builder_.setLeadingBankSelect(std::move(bank));
    }

    // Asked at each start (play, playAll, resume) with the song tick the schedule counts from:
    // how many ticks to wait, at the tempo the play starts with, before that tick's time. Room
    // for a count-in; none when unset.
    void setLeadIn(std::function<int(int originTick)> leadInTicks) {
        leadInTicks_ = std::move(leadInTicks);
    }

    // Play while paused: plays on from the start of firstBar, the first bar the page shows,
    // with the tempo and programs in force there, reopening the output. False, silently, when
    // the last play does not hold that bar (before its first bar or after its last note):
    // the play stays paused. The buffer is not built again.
    bool resume(int firstBar, bool animate);

    // One step: the ID_PLAY_STEP of timer timerId (stop false), or Stop and Pause pressed
    // (stop true, timerId unused). Returns true while the song plays on. False when the play
    // has stopped: asked to, after its last message, or when no timer could be armed; the
    // caller then ends the play (EndOfPlay) unless it is paused. A step of a timer the Player
    // no longer waits for (posted before Stop killed it) does nothing.
    bool PlayTick(int timerId, bool stop);

    // Pause: stops the timers and closes the output, turning off every note that sounds.
    // The buffer stays for resume().
    void pause();
    // The Player's share of StopAll: stops the timers, frees the buffer, closes the output.
    void stopAll();

    bool playing() const { return playEnd_ != 0; }
    // The clock time (Clock::microseconds) the schedule of the current play counts from.
    std::uint64_t startTimeUs() const { return startUs_; }
    // The song tick whose time that is.
    int originTick() const { return originTick_; }
    // Where the stretch of the schedule being played starts: a song tick and its time on the
    // clock. A later tick, with no tempo event between, is due as many tick lengths after.
    // It moves with each tempo event, speed change and loop pass.
    struct Anchor {
        std::int64_t tick;
        std::uint64_t us;
    };
    Anchor anchor() const;
    // The loop passes started since the play began.
    int passesStarted() const { return passesStarted_; }
    // The song tick a loop pass ends at; INT_MAX without a loop.
    int passEndTick() const;

private:
    bool startFresh(const OMBData& song, int soloTrack, int firstBar, int fromTick, int toTick,
                    bool animate, PlayView* view, bool loop);
    // Play and Play All while the loop is on.
    bool playLoop(const OMBData& song, int soloTrack, bool animate, PlayView* view);
    // Schedules the message after a wait of delta ticks, or, looping, the range's end when
    // the message lies at or past it or the buffer has no more. Marks the play's end after
    // the last message. False when no timer was armed.
    bool scheduleMessage(std::uint32_t delta);
    // The step at a loop range's end: releases the sounding notes, starts the next pass.
    bool startNextPass();
    void chaseControllers(int fromTick);
    // fromTick is a song tick; startOffset the buffer offset to play from.
    bool StartPlayback(bool animate, int fromTick, int startOffset);
    void warnAboutOutput(const OMBData& song) const;
    // Sets the song-wide tempo to the whole bpm in force at fromTick; returns its exact
    // microseconds per quarter note.
    std::uint32_t chaseTempo(int fromTick);
    void chasePrograms(int fromTick);
    // Arms the timer for the next piece of a wait of ticks. False when no timer was armed.
    bool schedule(std::uint32_t ticks);
    void stopTimer();

    std::uint8_t nextByte() { return buffer_.byteAt(readPosition_++); }
    void processMessage();
    void playNote(std::uint8_t status);
    void sendChannelMessage(std::uint8_t status, int dataBytes);
    void playSystemMessage(std::uint8_t status);
    void changeTempo(std::uint32_t usPerQuarter);
    // Ends the stretch of the schedule timed at usPerTick_ and times the ticks after it anew.
    void rebaseSchedule();
    void findNoteToHighlight();
    void showProgress();
    // The length of a tick at usPerQuarter, stretched by the practice speed.
    double usPerTick(std::uint32_t usPerQuarter) const;

    MidiDevice& device_;
    Clock& clock_;
    CommandPoster& mainWindow_;
    Ui& ui_;
    PlayBufferBuilder builder_;
    Pacing pacing_ = Pacing::Wire;
    TrackMix mix_;
    int speedPercent_ = 100;
    std::function<int(int)> leadInTicks_;

    const OMBData* song_ = nullptr;
    PlayView* view_ = nullptr;
    PlayBuffer buffer_;
    // The song bar and tick the buffer starts at: page bars translate into buffer bars.
    int bufferFirstBar_ = 1;
    int bufferFromTick_ = 0;
    // The song-wide tempo when the buffer was built: what the tempo chase starts from.
    int startTempo_ = 0;
    // The song tick at startUs_: the start, or on resuming the message before the bar's first.
    int originTick_ = 0;

    int timerId_ = 0;
    int readPosition_ = 0;
    PlayLoop loop_;
    // The range's length in ticks while a play loops; 0 when it does not.
    std::int64_t loopTicks_ = 0;
    // The buffer tick of the message scheduled next, counted from the pass's start.
    std::int64_t passTicks_ = 0;
    // The wait scheduled last ends at the loop range's end.
    bool passEndDue_ = false;
    // The buffer's length while playing; 0 when not playing, which makes the next step stop.
    int playEnd_ = 0;
    // The wait for the next message is over: the next step sends it.
    bool ready_ = true;
    // Ticks still to wait before the next message.
    std::uint32_t pendingTicks_ = 0;
    // The schedule: message n is due at startUs_ + scheduleBaseUs_ + usPerTick_ x the ticks
    // scheduled since the last tempo change.
    std::uint64_t startUs_ = 0;
    double scheduleBaseUs_ = 0;
    // The song tick at scheduleBaseUs_.
    std::int64_t baseTick_ = 0;
    int passesStarted_ = 0;
    std::int64_t ticksSinceBase_ = 0;
    double usPerTick_ = 0;
    // The tempo the ticks are timed at, before the practice speed.
    std::uint32_t usPerQuarter_ = 0;
    // When the timer armed last is due: the next message's time, when it is the one to send.
    std::uint64_t dueUs_ = 0;
    // When the message just played began to go out; 0 when the next schedule follows none.
    std::uint64_t messageOutUs_ = 0;

    bool animate_ = false;
    // Per track, the index of the next note to highlight; -1 when none is left.
    std::array<int, OMBData::kTrackCount> trackCursors_{};
    int noteTrack_ = 0;
    bool highlightPending_ = false;
    int lastDrawnTime_ = 0;
    int tempoShown_ = 0;
    // A system-exclusive message with its leading 0xF0, rebuilt for each one sent.
    std::vector<std::uint8_t> longMessage_;
};
