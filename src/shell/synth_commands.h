#pragma once

#include <functional>

class Application;
class DocumentWindows;
class OptionDialogs;

// The Voices command (Change Voices on the current song) and AWE Control (the SoundFont
// control of the built-in synthesizer). Window thread only.
class SynthCommands {
public:
    // voicesChanged runs after the current song took new voices: the track list shows them.
    SynthCommands(Application& app, const DocumentWindows& documents, OptionDialogs& dialogs,
                  std::function<void()> voicesChanged);

    // OK gives the song the programs chosen, carried into its tracks as program changes at
    // tick 0, all of it one step of the song's history; Escape changes nothing.
    void voices();
    // Nothing while the SoundFont control is absent.
    void aweControl();

private:
    Application& app_;
    const DocumentWindows& documents_;
    OptionDialogs& dialogs_;
    std::function<void()> voicesChanged_;
};
