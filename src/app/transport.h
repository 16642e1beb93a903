#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/recorder.h"
#include "playback/click_player.h"
#include "playback/metronome_clicks.h"
#include "playback/player.h"

class Application;
class CommandPoster;
class PlayTarget;
class RecordTarget;
class TransportControls;

// The play commands and the states they pass through: stopped, playing (Play or Play All),
// paused. It runs the player on the current song and sets the transport buttons, the menus
// and the accelerators for each state; at the end of a play it puts back the page, the tempo
// and the changed flag it found. Window thread only.
class Transport {
public:
    Transport(Application& app, TransportControls& controls, CommandPoster& poster);

    // Play mode: a song plays or is paused. File and editing commands are refused then and
    // the accelerators are off.
    bool playActive() const { return playActive_; }
    void setPlayActive(bool active);
    // Playing with animation: the notes appear as they sound, not with the page.
    bool notesAppear() const { return playMode_ && !paused_ && animate_; }

    // The buttons of the stopped state: with a song, Prev, Next, Play and Play All up, Pause
    // and Stop grey; without one all six grey.
    void showStopped(bool haveSong);

    // Play: the bars on current's page; while paused, resumes at the page's first bar.
    // Nothing happens without a current song (null).
    void play(PlayTarget* current);
    // Play All: the whole song from bar 1; nothing while a song plays or is paused.
    void playAll(PlayTarget* current);
    // The Pause button's command, after its press has stopped the steps.
    void pause();
    // Stop and Pause act as soon as they are pressed.
    void buttonPressed(int id);
    // A timer's step, posted from the timer thread.
    void playStep(int timerId);

    // A play list's song plays: when the play stops, StopAll hands over to playNextEntry,
    // telling whether the user stopped it (Stop, or Pause then Stop). The flag is cleared as
    // it hands over; the list sets it again for its next song.
    bool playListActive() const { return playListActive_; }
    void setPlayListActive(bool active) { playListActive_ = active; }
    void setPlayNextEntry(std::function<void(bool stoppedByUser)> playNextEntry) {
        playNextEntry_ = std::move(playNextEntry);
    }

    // Record: refused while a song plays or is paused. Without a song, newSong makes one (null
    // when it could not). Without a record device the saved one is looked for, then
    // configure runs the Configuration dialog (false: cancelled). Then the recording state:
    // every menu grey, only Stop usable.
    void RecordStart(RecordTarget* current, const std::function<RecordTarget*()>& newSong,
                     const std::function<bool()>& configure);
    bool recording() const { return recorder_.recording(); }
    // ID_MIDI_INPUT, posted by the input callback.
    void midiInput() { recorder_.drainInput(); }

    // Practice: Mute and Solo toggle a track's (0-15) flag, clearMix lifts them all. A change
    // is heard from the next note on, also in the middle of a play, and is kept in the
    // settings file; the message line says what changed. The song is not touched.
    void toggleMute(int track);
    void toggleSolo(int track);
    void clearMix();
    // Practice speed in percent of the song's tempo, held to the Player's range: heard at
    // once, also in the middle of a play, and kept in the settings file; the message line
    // says "Speed 75%". The song and the tempo it shows are not touched.
    void setSpeed(int percent);
    // The practice loop (its bars put in order, as Settings::playLoop reads them): Play and
    // Play All play its bars over and over from the next play on;
    // turned off while one loops, the play ends at the range's end. Kept in the settings
    // file; the message line says "Loop bars 2-5", "Loop bar 3" or "Loop off". The song is
    // not touched.
    void setLoop(const PlayLoop& loop);
    // Practice: the metronome for plays and for takes, eighths in compound meters, and the
    // count-in's bars (0-2). Each is kept in the settings file and holds from the next Play,
    // Play All, resume or Record on; the message line says what changed.
    void toggleMetronomeForPlay();
    void toggleMetronomeForRecord();
    void toggleClickEighths();
    void setCountInBars(int bars);

    // The end of a play: puts back what it saved, then StopAll.
    void EndOfPlay();
    // The stopped state: buffer and output released, buttons and menus enabled again.
    void StopAll();

private:
    // What Play and Play All share: the play state entered, the window minimised when asked.
    void enterPlayMode();
    // Whether Record may go on to start: the record device is chosen.
    bool recordDeviceChosen(const std::function<bool()>& configure);
    // Saves what the play puts back at its end and makes target the window that plays.
    void takeTarget(PlayTarget& target, bool fromFirstBar);
    void resume();
    void setMix(const TrackMix& mix, const std::string& notice);
    void setMetronome(const MetronomeOptions& options, const std::string& notice);
    // The player's lead-in at a start whose schedule counts from originTick: the count-in's
    // ticks. Readies the clicks of the play when there are any.
    int prepareClicks(int originTick);
    // Once the player started: its clicks, from the count-in on.
    void startClicks();
    // The clicks' times at the play's speed, and their following the play from its anchor
    // after a change of speed or, with rewind, at a loop's next pass.
    double clickStretch() const;
    void followPlayWithClicks(bool rewind);
    void showButtons(bool pageAndPlay, bool pause, bool playAll, bool stop);
    void enable(int buttonId, bool enabled);

    Application& app_;
    TransportControls& controls_;
    Player player_;
    Recorder recorder_;
    ClickPlayer clicks_;
    // The clicks the player's start readied, with the options they were made under.
    std::optional<MetronomeClicks> playClicks_;
    MetronomeOptions clickOptions_;
    bool playActive_ = false;
    // Playing and not paused; set by Play and Play All, cleared when playing stops.
    bool playMode_ = false;
    bool paused_ = false;
    bool minimizedOnPlay_ = false;
    // Stop or Pause was pressed during this play.
    bool stopRequested_ = false;
    bool playListActive_ = false;
    std::function<void(bool)> playNextEntry_;
    // Animate was checked when the play started.
    bool animate_ = false;
    // The window whose song plays, and what the play puts back when it ends.
    PlayTarget* target_ = nullptr;
    int savedTempo_ = 0;
    bool savedChanged_ = false;
    int savedFirstBar_ = 1;
};
