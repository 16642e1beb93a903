#pragma once

#include <string>

#include "playback/audio_exporter.h"
#include "playback/track_mix.h"

class Ui;
struct SoundFontState;
struct SongDocument;

// File > "Export Audio...": asks for an audio file, then renders the song into it through a
// synthesizer of its own, with a progress dialog whose Cancel leaves no file. Window thread.
class AudioExportCommand {
public:
    static constexpr const char* kFilters =
        "WAV Files (*.wav);;FLAC Files (*.flac);;Ogg Vorbis Files (*.ogg)";

    // sound: what the SoundFont control has set on the built-in synthesizer; each export's
    // synthesizer is set up the same, so the file sounds as Play All does.
    AudioExportCommand(Ui& ui, const SoundFontState& sound);

    // The file offered is the song's own name with the extension .wav, in lastDir for a song
    // without one. A name without an extension gets .wav. The file holds the tracks mix lets
    // sound. True when the file was written.
    bool run(const SongDocument& document, const std::string& lastDir, const TrackMix& mix = {});
    // The level of the next exports; the raw level until set.
    void setLevel(const AudioExporter::Level& level) { level_ = level; }

private:
    Ui& ui_;
    const SoundFontState& sound_;
    AudioExporter::Level level_;
};
