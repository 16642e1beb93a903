#include "playback/audio_exporter.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/built_in_synthesizer.h"
#include "platform/progress.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"
#include "test_song.h"

namespace {

// At 120 quarter notes a minute and 120 ticks a quarter, a second is 240 ticks.
constexpr int kTicksPerSecond = 240;

// Cancels at the step given (counting from 1); never when it is 0.
class ScriptedProgress : public Progress {
public:
    explicit ScriptedProgress(int cancelAt = 0) : cancelAt_(cancelAt) {}
    bool step(double fraction) override {
        fractions.push_back(fraction);
        return cancelAt_ == 0 || static_cast<int>(fractions.size()) < cancelAt_;
    }
    std::vector<double> fractions;

private:
    int cancelAt_;
};

struct Audio {
    int sampleRateHz = 0;
    int majorFormat = 0;
    // Per frame, the larger magnitude of its two samples.
    std::vector<float> peaks;
    // The loudest sample of each channel.
    float leftPeak = 0;
    float rightPeak = 0;
};

Audio readAudio(const std::filesystem::path& file) {
    SF_INFO info{};
    SNDFILE* handle = sf_open(file.c_str(), SFM_READ, &info);
    if (handle == nullptr) {
        ADD_FAILURE() << "cannot read " << file;
        return {};
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    EXPECT_EQ(sf_readf_float(handle, frames.data(), info.frames), info.frames);
    sf_close(handle);
    EXPECT_EQ(info.channels, 2);
    Audio audio{info.samplerate, info.format & SF_FORMAT_TYPEMASK, {}};
    for (std::size_t i = 0; i < frames.size(); i += 2) {
        audio.peaks.push_back(std::max(std::fabs(frames[i]), std::fabs(frames[i + 1])));
        audio.leftPeak = std::max(audio.leftPeak, std::fabs(frames[i]));
        audio.rightPeak = std::max(audio.rightPeak, std::fabs(frames[i + 1]));
    }
    return audio;
}

// The first frame that is not 0; -1 when none is. The files are 16-bit: what the ear cannot
// hear is 0 there.
long firstSoundingFrame(const std::vector<float>& samples) {
    const auto sounding =
        std::find_if(samples.begin(), samples.end(), [](float s) { return s != 0; });
    return sounding == samples.end() ? -1 : sounding - samples.begin();
}

// FluidSynth starts what it is sent at a block of 64 frames. A message is due in the block
// that begins at or after its own frame: never early, never a block late.
constexpr long kBlockFrames = 64;
long blockOf(long frame) {
    return frame / kBlockFrames * kBlockFrames;
}
long blockDueAt(double frame) {
    return static_cast<long>(std::ceil(frame / kBlockFrames)) * kBlockFrames;
}

class AudioExporterTest : public ::testing::Test {
protected:
    AudioExporterTest() {
        song_.timeDivision = 120;
        timing_.defaultTempo = 120;
    }

    AudioExporter::Result exportTo(const OMBData& song, const std::filesystem::path& file,
                                   int sampleRateHz = 44100, int cancelAt = 0,
                                   const AudioExporter::Level& level = {},
                                   const TrackMix& mix = {}) {
        const auto synthesizer =
            BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None, sampleRateHz);
        if (!synthesizer) {
            ADD_FAILURE() << "no SoundFont to render with";
            return AudioExporter::Result::Failed;
        }
        ScriptedProgress progress(cancelAt);
        AudioExporter exporter(ui_);
        exporter.setLevel(level);
        exporter.setTrackMix(mix);
        const auto result = exporter.exportSong(song, *synthesizer, file, progress);
        steps_ = progress.fractions;
        return result;
    }

    SongTiming timing_;
    OMBData song_{timing_};
    ScriptedUi ui_;
    ScratchDir dir_;
    std::vector<double> steps_;
};

TEST_F(AudioExporterTest, NotesSoundAtTheirTimeOnTheAbsoluteSchedule) {
    struct Case {
        const char* name;
        int sampleRateHz;
        int tempoChangeTick;  // to 60 quarter notes a minute; -1 for none
        int noteTick;
        double noteSeconds;
    };
    const Case cases[] = {
        {"one second in", 44100, -1, kTicksPerSecond, 1.0},
        {"at 48 kHz", 48000, -1, kTicksPerSecond, 1.0},
        // Half a second at 120, then 240 ticks at 60 take two seconds.
        {"after a slower tempo", 44100, kTicksPerSecond / 2, kTicksPerSecond / 2 + 240, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OMBData song(timing_);
        song.timeDivision = 120;
        if (c.tempoChangeTick >= 0) {
            addTempo(song, 0, 0, 120);
            addTempo(song, 0, c.tempoChangeTick, 60);
        }
        addNote(song, 1, c.noteTick, 60, 60);
        const auto file = dir_ / "song.wav";
        ASSERT_EQ(exportTo(song, file, c.sampleRateHz), AudioExporter::Result::Written);
        const Audio audio = readAudio(file);
        EXPECT_EQ(audio.sampleRateHz, c.sampleRateHz);
        EXPECT_EQ(blockOf(firstSoundingFrame(audio.peaks)),
                  blockDueAt(c.noteSeconds * c.sampleRateHz));
        // The tempo of the song shows as it was before the export.
        EXPECT_EQ(timing_.defaultTempo, 120);
    }
}

// A file has no MIDI cable whose millisecond a message waits for: what shares a time sounds at
// that time, in one block.
TEST_F(AudioExporterTest, MessagesThatShareATimeSoundTogetherAtThatTime) {
    // Ten notes at 1.000 s sound as the ten alone would, each at the same time.
    const int keys[] = {48, 52, 55, 60, 64, 67, 72, 76, 79, 84};
    for (const int key : keys) {
        addNote(song_, 1, kTicksPerSecond, key, kTicksPerSecond / 4);
    }
    ASSERT_EQ(exportTo(song_, dir_ / "chord.wav"), AudioExporter::Result::Written);
    const Audio chord = readAudio(dir_ / "chord.wav");
    EXPECT_EQ(blockOf(firstSoundingFrame(chord.peaks)), blockDueAt(44100));
    // The first tenth of a second of the chord, left and right, against the sum of the notes.
    const auto samples = [this](const std::filesystem::path& file) {
        SF_INFO info{};
        SNDFILE* handle = sf_open(file.c_str(), SFM_READ, &info);
        std::vector<float> frames(2 * 4410);
        sf_seek(handle, 44100 - kBlockFrames, SEEK_SET);
        EXPECT_EQ(sf_readf_float(handle, frames.data(), 4410), 4410);
        sf_close(handle);
        return frames;
    };
    std::vector<float> sum(2 * 4410);
    for (const int key : keys) {
        OMBData alone(timing_);
        alone.timeDivision = 120;
        addNote(alone, 1, kTicksPerSecond, key, kTicksPerSecond / 4);
        ASSERT_EQ(exportTo(alone, dir_ / "alone.wav"), AudioExporter::Result::Written);
        const std::vector<float> note = samples(dir_ / "alone.wav");
        std::transform(sum.begin(), sum.end(), note.begin(), sum.begin(), std::plus<>());
    }
    const std::vector<float> together = samples(dir_ / "chord.wav");
    float loudest = 0;
    float worst = 0;
    for (std::size_t i = 0; i < sum.size(); ++i) {
        loudest = std::max(loudest, std::fabs(sum[i]));
        worst = std::max(worst, std::fabs(together[i] - sum[i]));
    }
    EXPECT_GT(loudest, 0.05F);
    // Ten roundings to 16 bits, and the chord's own.
    EXPECT_LT(worst, 11.0F / 32768) << "of " << loudest;

    // Sixteen tracks set their program, volume and pan at the start, and the last one plays a
    // note there: it sounds in the first block.
    OMBData song(timing_);
    song.timeDivision = 120;
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        addEvent(song, track, 0, 0xC0 | track, track);
        addEvent(song, track, 0, 0xB0 | track, 7, 100);
        addEvent(song, track, 0, 0xB0 | track, 10, track * 8);
    }
    addNote(song, 15, 0, 60, kTicksPerSecond, 100, 15);
    ASSERT_EQ(exportTo(song, dir_ / "setup.wav"), AudioExporter::Result::Written);
    EXPECT_EQ(blockOf(firstSoundingFrame(readAudio(dir_ / "setup.wav").peaks)), 0);
}

TEST_F(AudioExporterTest, FileRunsToTheSongsEndAndThenTheTailUntilSilence) {
    ASSERT_EQ(exportTo(song_, dir_ / "empty.wav"), AudioExporter::Result::Written);
    const Audio empty = readAudio(dir_ / "empty.wav");
    EXPECT_EQ(empty.peaks.size(), 441U) << "an empty song gives a short silent file";
    EXPECT_EQ(firstSoundingFrame(empty.peaks), -1);

    // The note ends at 1.5 s, with the last message of the song.
    addNote(song_, 1, kTicksPerSecond, 60, kTicksPerSecond / 2);
    const auto file = dir_ / "song.wav";
    ASSERT_EQ(exportTo(song_, file), AudioExporter::Result::Written);
    // The progress moves with the song from its first step on: the note-on is two thirds in.
    ASSERT_GE(steps_.size(), 2U);
    EXPECT_NEAR(steps_.front(), 2.0 / 3, 1e-9);
    const Audio audio = readAudio(file);
    const long songFrames = 66150;
    const long tailFrames = static_cast<long>(audio.peaks.size()) - songFrames;
    // The release sounds on after the note-off; the file ends once a hundredth of a second
    // (441 frames, written) is silent.
    EXPECT_GT(tailFrames, 441);
    EXPECT_LE(tailFrames, 5 * 44100);
    const std::vector<float> lastBlock(audio.peaks.end() - 441, audio.peaks.end());
    EXPECT_EQ(firstSoundingFrame(lastBlock), -1);
    EXPECT_NE(firstSoundingFrame({audio.peaks.end() - 882, audio.peaks.end() - 441}), -1);
    EXPECT_EQ(steps_.back(), 1.0);
}

// Exported audio kept the synthesizer's level, some 18 dB below full scale.
TEST_F(AudioExporterTest, TheLevelIsRawUnlessRaisedAndNormalizingReachesItsPeakUnclipped) {
    for (const int key : {48, 60, 64, 67}) {
        addNote(song_, 1, 0, key, kTicksPerSecond, 127);
    }
    const auto exportedAudio = [&](const char* name, const AudioExporter::Level& level) {
        EXPECT_EQ(exportTo(song_, dir_ / name, 44100, 0, level), AudioExporter::Result::Written);
        return readAudio(dir_ / name);
    };
    const auto exported = [&](const char* name, const AudioExporter::Level& level) {
        return exportedAudio(name, level).peaks;
    };
    const auto loudest = [](const std::vector<float>& peaks) {
        return *std::max_element(peaks.begin(), peaks.end());
    };
    // One step of a 16-bit sample, and the rounding of a scaled one.
    constexpr float kStep = 2.0F / 32768;

    const std::vector<float> raw = exported("raw.wav", {});
    const float rawPeak = loudest(raw);
    ASSERT_GT(rawPeak, 0.05F);
    ASSERT_LT(rawPeak, 0.4F) << "the song must leave room to raise it";

    const Audio rawAudio = readAudio(dir_ / "raw.wav");
    const Audio raised = exportedAudio("raised.wav", {6.0, std::nullopt});
    EXPECT_NEAR(raised.leftPeak, rawAudio.leftPeak * 1.99526F, 3 * kStep);
    EXPECT_NEAR(raised.rightPeak, rawAudio.rightPeak * 1.99526F, 3 * kStep);

    const std::vector<float> normalized = exported("normalized.wav", {-30.0, -1.0});
    ASSERT_EQ(normalized.size(), raw.size());
    EXPECT_NEAR(loudest(normalized), 0.891251F, kStep) << "the gain gives way to normalizing";
    // Every frame is scaled alike: the shape of the sound stays.
    const float factor = 0.891251F / rawPeak;
    for (std::size_t frame = 0; frame < raw.size(); frame += 997) {
        EXPECT_NEAR(normalized[frame], raw[frame] * factor, factor * kStep + kStep) << frame;
    }
    const std::vector<float> clipped = exported("clipped.wav", {40.0, std::nullopt});
    EXPECT_NEAR(loudest(clipped), 1.0F, kStep) << "a gain past full scale clips";
    EXPECT_NEAR(loudest(exported("full.wav", {0.0, 0.0})), 1.0F, kStep);

    // Silence has no level to raise.
    OMBData empty(timing_);
    empty.timeDivision = 120;
    ASSERT_EQ(exportTo(empty, dir_ / "silent.wav", 44100, 0, {0.0, -1.0}),
              AudioExporter::Result::Written);
    EXPECT_EQ(firstSoundingFrame(readAudio(dir_ / "silent.wav").peaks), -1);
}

TEST_F(AudioExporterTest, StemHoldsTheNotesOfItsTrackAloneAndTheMixMutes) {
    // Sixteen tracks, each with its own channel and program, one short note each, four
    // seconds apart: long enough for a note's release to die away before the next.
    constexpr int kGapSeconds = 4;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        addEvent(song_, t, 0, 0xC0 | t, t * 8);
        addNote(song_, t, t * kGapSeconds * kTicksPerSecond, 60, kTicksPerSecond / 10, 100,
                static_cast<std::uint8_t>(t));
    }
    const auto sounds = [](const Audio& audio, int second) {
        const long size = static_cast<long>(audio.peaks.size());
        const auto from = audio.peaks.begin() + std::min(second * 44100L, size);
        const auto to = audio.peaks.begin() + std::min((second + kGapSeconds) * 44100L, size);
        return firstSoundingFrame({from, to}) != -1;
    };
    const auto soundingTracks = [&](const Audio& audio) {
        std::vector<int> tracks;
        for (int t = 0; t < OMBData::kTrackCount; ++t) {
            if (sounds(audio, t * kGapSeconds)) {
                tracks.push_back(t);
            }
        }
        return tracks;
    };

    ASSERT_EQ(exportTo(song_, dir_ / "stem.wav", 44100, 0, {}, TrackMix::only(1U << 6)),
              AudioExporter::Result::Written);
    const Audio stem = readAudio(dir_ / "stem.wav");
    EXPECT_EQ(blockOf(firstSoundingFrame(stem.peaks)), blockDueAt(6.0 * kGapSeconds * 44100));
    EXPECT_EQ(soundingTracks(stem), std::vector<int>{6});
    EXPECT_GT(stem.peaks.size(), 15U * kGapSeconds * 44100) << "the file runs the whole song";

    TrackMix mix;
    mix.setMuted(0, true);
    mix.setMuted(9, true);
    ASSERT_EQ(exportTo(song_, dir_ / "mix.wav", 44100, 0, {}, mix), AudioExporter::Result::Written);
    EXPECT_EQ(soundingTracks(readAudio(dir_ / "mix.wav")),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15}));
}

TEST_F(AudioExporterTest, CancelLeavesNoFileAndAnExistingFileAsItWas) {
    for (int second = 0; second < 4; ++second) {
        addNote(song_, 1, second * kTicksPerSecond, 60, kTicksPerSecond);
    }
    const auto file = dir_ / "song.wav";
    EXPECT_EQ(exportTo(song_, file, 44100, 2), AudioExporter::Result::Cancelled);
    EXPECT_EQ(dir_.entryCount(), 0);
    ScratchDir::write(file, "earlier export");
    EXPECT_EQ(exportTo(song_, file, 44100, 3), AudioExporter::Result::Cancelled);
    EXPECT_EQ(ScratchDir::read(file), "earlier export");
    EXPECT_EQ(dir_.entryCount(), 1);
    EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(AudioExporterTest, FlacAndOggHoldAsManyFramesAsTheWav) {
    addNote(song_, 1, 0, 60, kTicksPerSecond);
    addNote(song_, 2, kTicksPerSecond / 2, 67, kTicksPerSecond);
    ASSERT_EQ(exportTo(song_, dir_ / "song.wav"), AudioExporter::Result::Written);
    const std::size_t frames = readAudio(dir_ / "song.wav").peaks.size();
    for (const auto& [name, format] :
         {std::pair{"song.flac", SF_FORMAT_FLAC}, std::pair{"SONG.OGG", SF_FORMAT_OGG}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(exportTo(song_, dir_ / name), AudioExporter::Result::Written);
        const Audio audio = readAudio(dir_ / name);
        EXPECT_EQ(audio.majorFormat, format);
        EXPECT_EQ(audio.peaks.size(), frames);
    }
}

TEST_F(AudioExporterTest, FileThatCannotBeWrittenSaysWhy) {
    addNote(song_, 1, 0, 60, kTicksPerSecond);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {dir_ / "song.mp3", "An audio file's name ends in .wav, .flac or .ogg"},
        {dir_ / "missing" / "song.wav", "Could not write " +
                                            (dir_ / "missing" / "song.wav").string() +
                                            ": No such file or directory"},
    };
    for (const auto& [file, text] : cases) {
        ui_.boxes.clear();
        EXPECT_EQ(exportTo(song_, file), AudioExporter::Result::Failed);
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{text});
        EXPECT_EQ(ui_.boxes[0].caption, "Error");
    }
    EXPECT_EQ(dir_.entryCount(), 0);
}

}  // namespace
