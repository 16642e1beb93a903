#include "playback/callbacks.h"

#include "platform/command_poster.h"
#include "playback/command_ids.h"
#include "playback/midi_input_queue.h"

void timerCallback(CommandPoster& mainWindow, int timerId) noexcept {
    mainWindow.post(ID_PLAY_STEP, timerId);
}

void midiInputCallback(CommandPoster& mainWindow, MidiInputQueue& queue,
                       const MidiInputEvent& event) noexcept {
    if (queue.push(event)) {
        mainWindow.post(ID_MIDI_INPUT, 0);
    }
}
