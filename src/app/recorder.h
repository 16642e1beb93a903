#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/midi_input.h"

class Application;
class CommandPoster;
class Element;
class MidiInputQueue;
class Note;
class RecordTarget;

// One recording from the record device into a track: input opened with the input callback
// and its queue, each note played echoed to the play device and added to the track, the page
// following the music. Everything but the callback runs on the window thread.
//
// A take, from start() to stop(), is one undo step ("Recording"); the notes it adds mark the
// song changed as they arrive, so quitting mid-take asks to save them.
class Recorder {
public:
    static constexpr const char* kStepName = "Recording";

    Recorder(Application& app, CommandPoster& mainWindow);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The take's time zero lies this long after the input opens: a count-in plays first. Keys
    // played before it land at tick 0. Holds for the next start().
    void setLeadInMs(std::uint32_t leadInMs) { leadInMs_ = leadInMs; }

    // Input is open: Stop ends the recording.
    bool recording() const { return input_ != nullptr; }

    // Record's steps once the record device is chosen: the page goes to bar 1, the play
    // device opens (without it the notes are recorded unheard: "Could not initialize the
    // output device"), the track's program is sent when it has one, and RecordOpen. False
    // when input did not open; nothing is left open then.
    bool start(RecordTarget& target);
    // ID_MIDI_INPUT: takes every waiting event and processes it.
    void drainInput();
    // Closes the input, then the output, which turns off whatever still sounds; a note still
    // held ends at the stop time, and the take becomes one undo step. Returns how many
    // messages the full queue dropped.
    std::uint32_t stop();

private:
    // A note of the take that no release has ended yet, with the key and channel whose
    // release ends it: neighbouring keys such as C and C# share a staff position.
    struct HeldNote {
        Note* note;
        int key;
        int channel;
    };

    bool RecordOpen();
    void process(const MidiInputEvent& event);
    void noteOn(int key, int velocity, int channel);
    void noteOff(int key, int channel);
    // Ticks at the nominal rate, tempo x division / 60000 per millisecond.
    int ticksAt(std::uint32_t timestampMs) const;
    // A time since the input opened, taken as time since the take's zero.
    std::uint32_t sinceLeadIn(std::uint32_t timestampMs) const {
        return timestampMs > leadInMs_ ? timestampMs - leadInMs_ : 0;
    }
    void echo(int status, int key, int velocity);

    Application& app_;
    CommandPoster& mainWindow_;
    // Declared before the input: the input's thread writes into it until the input is gone.
    std::unique_ptr<MidiInputQueue> queue_;
    std::unique_ptr<MidiInput> input_;
    RecordTarget* target_ = nullptr;
    int track_ = 0;
    // The recording position: the last time stamp converted to ticks.
    int position_ = 0;
    // The clock when the input opened: the input's time stamps count from there.
    std::uint32_t openedMs_ = 0;
    std::uint32_t leadInMs_ = 0;
    // The track before the take, to find what it added.
    std::vector<const Element*> before_;
    std::vector<HeldNote> heldNotes_;
};
