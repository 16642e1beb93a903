#include "playback/audio_exporter.h"

#include <algorithm>
#include <string>

#include "model/omb_data.h"
#include "platform/built_in_synthesizer.h"
#include "platform/command_poster.h"
#include "platform/null_midi_output.h"
#include "platform/null_ui.h"
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
    const auto lengthUs = static_cast<double>(std::max<std::uint64_t>(playLengthUs(song), 1));
    AudioFileWriter writer;
    if (!writer.open(file, *format, synthesizer.sampleRateHz())) {
        ui_.errorBox("Could not write " + file.string() + ": " + writer.error());
        return Result::Failed;
    }
    RenderClock clock;
    const auto output = std::make_shared<RenderingOutput>(synthesizer, clock, writer);
    std::uint64_t reportedUs = 0;
    const bool played = play(song, output, clock, ui_, [&] {
        if (output->writeFailed()) {
            return false;
        }
        if (clock.microseconds() - reportedUs < kProgressStepUs) {
            return true;
        }
        reportedUs = clock.microseconds();
        return progress.step(static_cast<double>(reportedUs) / lengthUs);
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

std::uint64_t AudioExporter::playLengthUs(const OMBData& song) {
    // Only the play that is heard shows its messages.
    NullUi quiet;
    RenderClock clock;
    play(song, std::make_shared<NullMidiOutput>(), clock, quiet, [] { return true; });
    return clock.microseconds();
}

bool AudioExporter::play(const OMBData& song, std::shared_ptr<MidiOutput> output,
                         RenderClock& clock, Ui& ui, const std::function<bool()>& afterStep) {
    RenderPorts ports(std::move(output));
    MidiDevice device(ports, ui);
    device.listOutputs();
    device.selectOutputByName(kBuiltInSynthesizerName, 0);
    PlaySteps steps;
    Player player(device, clock, steps, ui);
    player.setLeadingBankSelect([bank = leadingBank_] { return bank; });
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
