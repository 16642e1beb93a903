#include "playback/audio_exporter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/omb_data.h"
#include "model/song_length.h"
#include "platform/built_in_synthesizer.h"
#include "platform/command_poster.h"
#include "platform/progress.h"
#include "platform/ui.h"
#include "playback/audio_file_writer.h"
#include "playback/command_ids.h"
#include "playback/midi_device.h"
#include "playback/player.h"
#include "playback/render_clock.h"
#include "playback/render_ports.h"
#include "playback/rendering_output.h"

namespace {

// How much of the song plays between two reports of the progress.
constexpr std::uint64_t kProgressStepUs = 500'000;

// Takes the play steps that the clock's timers post, as the main window would.
class PlaySteps : public CommandPoster {
public:
    void post(int commandId, int param) noexcept override {
        if (commandId == ID_PLAY_STEP) {
            timerId = param;
        }
    }

    int timerId = 0;
};

}  // namespace

AudioExporter::AudioExporter(Ui& ui) : ui_(ui) {}

AudioExporter::Result AudioExporter::exportSong(const OMBData& song,
                                                BuiltInSynthesizer& synthesizer,
                                                const std::filesystem::path& file,
                                                Progress& progress) {
    const auto format = AudioFileWriter::formatOf(file);
    if (!format) {
        ui_.errorBox("An audio file's name ends in .wav, .flac or .ogg");
        return Result::Failed;
    }
    // The progress follows the song's length as the summary computes it: a play to measure
    // it exactly would hold the bar at 0 for seconds on a long song.
    const double lengthUs = std::max(songLengthSeconds(song) * 1e6, 1.0);
    AudioFileWriter writer;
    if (!writer.open(file, *format, synthesizer.sampleRateHz())) {
        ui_.errorBox("Could not write " + file.string() + ": " + writer.error());
        return Result::Failed;
    }
    const auto factorOf = [](double db) { return static_cast<float>(std::pow(10.0, db / 20.0)); };
    if (level_.normalizePeakDb) {
        writer.normalizeTo(factorOf(std::min(*level_.normalizePeakDb, 0.0)));
    } else {
        writer.setGain(factorOf(level_.gainDb));
    }
    RenderClock clock;
    const auto output = std::make_shared<RenderingOutput>(synthesizer, clock, writer);
    std::uint64_t reportedUs = 0;
    const bool played = play(song, output, clock, [&] {
        if (output->writeFailed()) {
            return false;
        }
        if (clock.microseconds() - reportedUs < kProgressStepUs) {
            return true;
        }
        reportedUs = clock.microseconds();
        return progress.step(std::min(static_cast<double>(reportedUs) / lengthUs, 1.0));
    });
    if (!played && !output->writeFailed()) {
        return Result::Cancelled;
    }
    output->renderTail(std::int64_t{kMaxTailSeconds} * synthesizer.sampleRateHz());
    if (output->writeFailed() || !writer.commit()) {
        ui_.errorBox("Could not write " + file.string() + ": " + writer.error());
        return Result::Failed;
    }
    progress.step(1.0);
    return Result::Written;
}

bool AudioExporter::play(const OMBData& song, std::shared_ptr<MidiOutput> output,
                         RenderClock& clock, const std::function<bool()>& afterStep) {
    RenderPorts ports(std::move(output));
    MidiDevice device(ports, ui_);
    device.listOutputs();
    device.selectOutputByName(kBuiltInSynthesizerName, 0);
    PlaySteps steps;
    Player player(device, clock, steps, ui_);
    player.setPacing(Player::Pacing::Exact);
    player.setLeadingBankSelect([bank = leadingBank_] { return bank; });
    player.setTrackMix(mix_);
    // The play changes the song-wide tempo as its tempo events go by, as Play All does; the
    // song is shown afterwards at the tempo it had.
    const int savedTempo = song.timing().defaultTempo;
    bool playing = player.playAll(song, -1, false, nullptr);
    bool stopped = false;
    while (playing && clock.fireNext()) {
        playing = player.PlayTick(steps.timerId, false);
        stopped = !afterStep();
        playing = playing && !stopped;
    }
    player.stopAll();
    song.timing().defaultTempo = savedTempo;
    return !stopped;
}
