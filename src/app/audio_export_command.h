#pragma once

#include <functional>
#include <string>

class BuiltInSynthesizer;
class Ui;
struct SongDocument;

// File > "Export Audio...": asks for an audio file, then renders the song into it through a
// synthesizer of its own, with a progress dialog whose Cancel leaves no file. Window thread.
class AudioExportCommand {
public:
    static constexpr const char* kFilters =
        "WAV Files (*.wav);;FLAC Files (*.flac);;Ogg Vorbis Files (*.ogg)";

    explicit AudioExportCommand(Ui& ui);

    // Sets up each export's synthesizer, once started, as the built-in synthesizer is set up
    // for playing; it is left as started when this is empty.
    std::function<void(BuiltInSynthesizer&)> configureSynthesizer;

    // The file offered is the song's own name with the extension .wav, in lastDir for a song
    // without one. A name without an extension gets .wav. True when the file was written.
    bool run(const SongDocument& document, const std::string& lastDir);

private:
    Ui& ui_;
};
