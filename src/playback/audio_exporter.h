#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "playback/track_mix.h"

class BuiltInSynthesizer;
class MidiOutput;
class OMBData;
class Progress;
class RenderClock;
class Ui;

// Turns a song into an audio file, faster than real time, sounding as Play All sounds on the
// built-in synthesizer: the Player itself plays the song on a clock that jumps from message
// to message, and each message reaches the synthesizer at its frame of the same schedule
// (tempo changes and the closing note-offs included). A file has no MIDI cable to wait for:
// the messages that share a time (a chord, the settings of every track at the start) all
// sound at that time. The sound left after the last message follows until it is silent, for
// at most kMaxTailSeconds.
// Window thread, or a tool's only thread.
class AudioExporter {
public:
    enum class Result { Written, Cancelled, Failed };

    static constexpr int kMaxTailSeconds = 5;

    // The level of the file. The synthesizer's own level is far below full scale (a piano
    // song peaks near -18 dBFS), so the window raises it. gainDb scales the rendered samples
    // (0 keeps them; what goes past full scale is clipped); normalizePeakDb, when given,
    // scales the whole song after rendering so that its loudest sample stands at that level
    // (at most 0 dBFS), and the gain is not used.
    struct Level {
        double gainDb = 0.0;
        std::optional<double> normalizePeakDb;
    };
    // The window's level: normalized to a peak of -1 dBFS.
    static constexpr double kNormalizedPeakDb = -1.0;

    explicit AudioExporter(Ui& ui);

    // Writes song to file, in the format its extension names (.wav: 16-bit PCM, .flac,
    // .ogg: Ogg Vorbis), stereo at the synthesizer's rate. The synthesizer is started without
    // audio and configured as the caller wants it heard. progress follows the song; when it is
    // cancelled the result is Cancelled. On Cancelled and Failed no file is left and an
    // existing one is as it was; Failed has shown its box. A song with nothing to play gives
    // a short silent file.
    Result exportSong(const OMBData& song, BuiltInSynthesizer& synthesizer,
                      const std::filesystem::path& file, Progress& progress);

    // See PlayBufferBuilder::setLeadingBankSelect; -1 (the default) for none.
    void setLeadingBankSelect(int bank) { leadingBank_ = bank; }
    // The raw level (no gain, no normalizing) unless set.
    void setLevel(const Level& level) { level_ = level; }
    // The tracks heard in the file (see Player::setTrackMix); all by default.
    void setTrackMix(const TrackMix& mix) { mix_ = mix; }

private:
    // Plays song through output, message by message, on clock; afterStep is asked after each
    // step whether to go on. False when it stopped the play.
    bool play(const OMBData& song, std::shared_ptr<MidiOutput> output, RenderClock& clock,
              const std::function<bool()>& afterStep);

    Ui& ui_;
    int leadingBank_ = -1;
    Level level_;
    TrackMix mix_;
};
