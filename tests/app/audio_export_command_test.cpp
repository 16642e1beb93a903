#include "app/audio_export_command.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <vector>

#include "app/song_document.h"
#include "playback/sound_font_state.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

class AudioExportCommandTest : public ::testing::Test {
protected:
    AudioExportCommandTest() {
        document.fileName = (dir / "tune.mid").string();
        document.song.track(0).add(std::make_unique<Note>(0, 80, 120, 60, 0, 0));
    }

    ScratchDir dir;
    ScriptedUi ui;
    SongTiming timing;
    SongDocument document{timing, ""};
    SoundFontState sound;
    AudioExportCommand command{ui, sound};
};

TEST_F(AudioExportCommandTest,
       OffersTheSongsNameAsWavAndWritesTheChosenFileReplacingOnlyByConsent) {
    ui.answerFile((dir / "tune").string());
    EXPECT_TRUE(command.run(document, "/unused"));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].filterDescription,
              "WAV Files (*.wav);;FLAC Files (*.flac);;Ogg Vorbis Files (*.ogg)");
    EXPECT_EQ(ui.fileDialogs[0].title, "Export Audio");
    EXPECT_EQ(ui.fileDialogs[0].initialName, (dir / "tune.wav").string());
    EXPECT_TRUE(fs::exists(dir / "tune.wav")) << "a name without an extension is a WAV file";
    EXPECT_EQ(ui.notices, std::vector<std::string>{"tune.wav Exported"});

    // An existing file is replaced only when the user agrees.
    ScratchDir::write(dir / "tune.flac", "keep me");
    ui.answerFile((dir / "tune.flac").string());
    ui.answerNext(IDNO);
    EXPECT_FALSE(command.run(document, dir.path().string()));
    EXPECT_EQ(ScratchDir::read(dir / "tune.flac"), "keep me");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Do you want to replace the file?"});

    ui.answerFile((dir / "tune.flac").string());
    ui.answerNext(IDYES);
    EXPECT_TRUE(command.run(document, dir.path().string()));
    EXPECT_EQ(ScratchDir::read(dir / "tune.flac").rfind("fLaC", 0), 0u);

    document.fileName.clear();
    EXPECT_FALSE(command.run(document, dir.path().string())) << "the dialog is cancelled";
    EXPECT_EQ(ui.fileDialogs.back().initialName, (dir / "new.wav").string());
}

TEST_F(AudioExportCommandTest, TheFileSoundsWithTheSoundFontControlsEffects) {
    const auto exportWithReverb = [&](int type, const char* name) {
        sound.reverbType = type;
        ui.answerFile((dir / name).string());
        EXPECT_TRUE(command.run(document, "/unused"));
        return fs::file_size(dir / name);
    };
    const auto dry = exportWithReverb(8, "none.wav");
    const auto hall = exportWithReverb(4, "hall.wav");
    EXPECT_GT(hall, dry + 44100 * 4) << "a hall's tail rings on for more than half a second";
}

TEST_F(AudioExportCommandTest, MutedTracksAreLeftOutOfTheFile) {
    const auto samplesOf = [&](const char* name, const TrackMix& mix) {
        ui.answerFile((dir / name).string());
        EXPECT_TRUE(command.run(document, "/unused", mix));
        SF_INFO info{};
        SNDFILE* handle = sf_open((dir / name).c_str(), SFM_READ, &info);
        std::vector<short> samples(static_cast<std::size_t>(info.frames * info.channels));
        if (handle != nullptr) {
            sf_readf_short(handle, samples.data(), info.frames);
            sf_close(handle);
        }
        return samples;
    };
    const auto heard = [](const std::vector<short>& samples) {
        return std::any_of(samples.begin(), samples.end(), [](short s) { return s != 0; });
    };
    EXPECT_TRUE(heard(samplesOf("all.wav", {})));
    const std::vector<short> muted = samplesOf("muted.wav", TrackMix(0x0001, 0));
    EXPECT_FALSE(muted.empty());
    EXPECT_FALSE(heard(muted));
    EXPECT_FALSE(heard(samplesOf("solo.wav", TrackMix(0, 0x0002)))) << "track 2 alone is empty";
}

}  // namespace
