#pragma once

#include <cstdint>

#include "platform/midi_input_event.h"

class CommandPoster;
class MidiInputQueue;

// The two callbacks the timing and input services call on their own threads. Each only hands
// its news to the window thread through the main window's poster; neither blocks or throws.

// Timer thread: the playback timer timerId expired. Posts ID_PLAY_STEP with timerId as its
// parameter, whole (the play step kills that timer and arms the next). A timer that expires
// after playing stopped posts all the same; the window ignores the command then.
void timerCallback(CommandPoster& mainWindow, int timerId) noexcept;

// MIDI input thread, the queue's only producer: one short message arrived. Appends event at
// the head of queue and posts ID_MIDI_INPUT (parameter 0); the window thread then drains the
// queue. An event the full queue drops is counted there and posts nothing: the commands
// already posted will drain what is queued, and a stalled window thread does not pile up
// commands without bound.
void midiInputCallback(CommandPoster& mainWindow, MidiInputQueue& queue,
                       const MidiInputEvent& event) noexcept;
