#pragma once

// Commands the callbacks post to the main window, which handles them on the window thread as
// it handles its menu commands.

// A playback timer expired; the parameter is that timer's id.
inline constexpr int ID_PLAY_STEP = 509;
// Recorded input is waiting in the input queue; the parameter is 0.
inline constexpr int ID_MIDI_INPUT = 1024;
