// How soon Play All on the large song (about 1,000,000 notes in 16 tracks) sounds: from the
// command to the first message on the capture port, which includes building the play buffer,
// and how late the song's first message is against its own schedule. The timer alone, armed
// 1 ms ahead, shows what the machine allows in the same run.
//
// Usage: play_start_bench [RUNS]   (default 5)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "capture_port.h"
#include "large_song.h"
#include "model/omb_data.h"
#include "platform/command_queue.h"
#include "platform/mm_timer.h"
#include "platform/null_ui.h"
#include "playback/command_ids.h"
#include "playback/midi_device.h"
#include "playback/player.h"
#include "smf/midi_file.h"

namespace {

// The channel settings a play sends before the song.
constexpr std::size_t kInitialSettings = 48;

struct Start {
    double toFirstMessageMs;
    double firstSongMessageLateMs;
};

Start playStart(const OMBData& song) {
    CapturedPlayer captured(std::filesystem::temp_directory_path() / "tolvar32_start_capture.txt");
    const std::filesystem::path& file = captured.file;
    CapturePort& port = captured.port;
    MmTimer& clock = captured.clock;
    CommandQueue& commands = captured.commands;
    Player& player = captured.player;

    const std::uint64_t commandUs = clock.microseconds();
    bool playing = player.playAll(song, -1, false, nullptr);
    const std::uint64_t startUs = player.startTimeUs();
    for (int step = 0; playing && step < 50; ++step) {
        const auto command = commands.take(std::chrono::seconds(1));
        if (command && command->commandId == ID_PLAY_STEP) {
            playing = player.PlayTick(command->param, false);
        }
    }
    player.stopAll();
    const std::vector<std::uint64_t> times = captureTimes(file);
    if (times.size() <= kInitialSettings) {
        return {-1, -1};
    }
    const std::uint64_t openedAtUs = port.openedAtUs();
    // The large song's first message is at tick 0.
    return {
        static_cast<double>(openedAtUs + times.front() - commandUs) / 1000,
        (static_cast<double>(openedAtUs + times[kInitialSettings]) - static_cast<double>(startUs)) /
            1000};
}

double timerFloorMs(int shots) {
    MmTimer clock;
    CommandQueue fired;
    std::vector<double> lateness;
    for (int i = 0; i < shots; ++i) {
        const std::uint64_t dueUs = clock.microseconds() + 1000;
        clock.startTimerAt(dueUs, [&](int id) {
            lateness.push_back(static_cast<double>(clock.microseconds() - dueUs) / 1000);
            fired.post(ID_PLAY_STEP, id);
        });
        fired.take(std::chrono::seconds(1));
    }
    std::sort(lateness.begin(), lateness.end());
    return lateness[lateness.size() / 2];
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    SongTiming timing;
    OMBData song(timing);
    NullUi ui;
    if (!MidiFile(song, ui).load(largeSongFile())) {
        std::fprintf(stderr, "could not load the large song\n");
        return 1;
    }
    std::vector<double> toFirst;
    std::vector<double> late;
    for (int run = 0; run < runs; ++run) {
        const Start start = playStart(song);
        toFirst.push_back(start.toFirstMessageMs);
        late.push_back(start.firstSongMessageLateMs);
    }
    std::printf("play all to first message  median %.1f ms\n", median(toFirst));
    std::printf("first song message late    median %.3f ms  (timer alone: median %.3f ms)\n",
                median(late), timerFloorMs(1000));
    return 0;
}
