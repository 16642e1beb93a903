// How punctually the engine plays. A generated song of dense music (sixteenth notes in one
// track, four-note chords on every beat in another, 120 quarter notes a minute) plays through
// the real timer and the capture port, as `tolvar32 --play` plays it; each message's time in
// the capture is compared with its due time on the absolute schedule, a chord's notes each
// 1 ms after the one before. Run once with the other core idle and once with a thread
// spinning on it. The timer alone, armed 1 ms apart, shows what the machine itself allows.
//
// Usage: playback_timing_bench [SECONDS]   (default 60)
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "model/omb_data.h"
#include "platform/command_queue.h"
#include "platform/midi_ports.h"
#include "platform/mm_timer.h"
#include "platform/null_ui.h"
#include "playback/command_ids.h"
#include "playback/midi_device.h"
#include "playback/play_buffer.h"
#include "playback/play_buffer_builder.h"
#include "playback/player.h"

#include "capture_port.h"

namespace {

constexpr int kDivision = 120;
constexpr int kTempo = 120;
constexpr int kSixteenth = kDivision / 4;
constexpr double kUsPerTick = 60'000'000.0 / (kTempo * kDivision);
constexpr std::size_t kInitialSettings = 48;

void makeSong(OMBData& song, int seconds) {
    song.timeDivision = kDivision;
    song.timing().defaultTempo = kTempo;
    const int sixteenths = seconds * kTempo / 60 * 4;
    const int melody[] = {72, 74, 76, 77, 79, 77, 76, 74};
    const int chords[][4] = {
        {48, 55, 60, 64}, {45, 52, 57, 60}, {50, 57, 62, 65}, {43, 55, 59, 62}};
    for (int i = 0; i < sixteenths; ++i) {
        const StaffPitch pitch = song.spellKey(melody[i % 8]);
        song.track(0).add(std::make_unique<Note>(i * kSixteenth, 90, kSixteenth, pitch.position,
                                                 pitch.accidental, 0));
        if (i % 4 == 0) {
            for (const int key : chords[i / 16 % 4]) {
                const StaffPitch chordPitch = song.spellKey(key);
                song.track(1).add(std::make_unique<Note>(
                    i * kSixteenth, 70, kDivision, chordPitch.position, chordPitch.accidental, 1));
            }
        }
    }
}

// The tick of every message of the buffer, in order: the song has notes only.
std::vector<int> messageTicks(const PlayBuffer& buffer) {
    std::vector<int> ticks;
    int tick = 0;
    for (int offset = 0; offset < buffer.length();) {
        tick += static_cast<int>(buffer.readVlq(offset));
        ticks.push_back(tick);
        offset += (buffer.byteAt(offset) & 0xF0) == 0x90 ? 4 : 3;
    }
    return ticks;
}

struct Run {
    std::size_t messages;
    double medianMs;
    double p99Ms;
    double maxMs;
    double driftMs;
};

Run summarize(std::vector<double> lateness) {
    const double drift = lateness.back();
    std::sort(lateness.begin(), lateness.end());
    const auto at = [&](double share) {
        return lateness[static_cast<std::size_t>(share * (lateness.size() - 1))];
    };
    return {lateness.size(), at(0.5), at(0.99), lateness.back(), drift};
}

// The timer alone, for comparison: how late its callbacks run when armed 1 ms apart, which is
// what the machine allows any engine.
Run timerAlone(int seconds) {
    MmTimer clock;
    CommandQueue fired;
    std::vector<double> lateness;
    for (int i = 0; i < seconds * 1000; ++i) {
        const std::uint64_t dueUs = clock.microseconds() + 1000;
        clock.startTimerAt(dueUs, [&](int id) {
            lateness.push_back(static_cast<double>(clock.microseconds() - dueUs) / 1000);
            fired.post(ID_PLAY_STEP, id);
        });
        fired.take(std::chrono::seconds(1));
    }
    return summarize(lateness);
}

struct Play {
    Run lateness;
    Run ownLateness;
};

Play play(const OMBData& song, const std::vector<int>& ticks, bool busy) {
    CapturedPlayer captured(std::filesystem::temp_directory_path() / "tolvar32_timing_capture.txt");
    const std::filesystem::path& file = captured.file;
    CapturePort& port = captured.port;
    CommandQueue& commands = captured.commands;
    Player& player = captured.player;

    std::atomic<bool> stop = false;
    std::thread spinner;
    if (busy) {
        spinner = std::thread([&] {
            while (!stop.load(std::memory_order_relaxed)) {
            }
        });
    }
    bool playing = player.playAll(song, -1, false, nullptr);
    const std::uint64_t startUs = player.startTimeUs();
    const std::uint64_t openedAtUs = port.openedAtUs();
    while (playing) {
        const auto command = commands.take(std::chrono::seconds(1));
        if (command && command->commandId == ID_PLAY_STEP) {
            playing = player.PlayTick(command->param, false);
        }
    }
    player.stopAll();
    stop = true;
    if (spinner.joinable()) {
        spinner.join();
    }

    // Lateness against the ideal schedule, and each message's own: against the time the one
    // before it actually went out, plus 1 ms, where that is later than its schedule.
    const std::vector<std::uint64_t> times = captureTimes(file);
    std::vector<double> lateness;
    std::vector<double> ownLateness;
    double idealUs = static_cast<double>(startUs);
    double previousUs = static_cast<double>(startUs);
    for (std::size_t i = 0; i < ticks.size() && kInitialSettings + i < times.size(); ++i) {
        const double scheduledUs = static_cast<double>(startUs) + ticks[i] * kUsPerTick;
        const double actualUs = static_cast<double>(openedAtUs + times[kInitialSettings + i]);
        idealUs = std::max(scheduledUs, idealUs + 1000);
        lateness.push_back((actualUs - idealUs) / 1000);
        ownLateness.push_back((actualUs - std::max(scheduledUs, previousUs + 1000)) / 1000);
        previousUs = actualUs;
    }
    return {summarize(lateness), summarize(ownLateness)};
}

void report(const char* what, const Run& run) {
    std::printf(
        "%-16s %5zu messages  lateness median %.3f ms  p99 %.3f ms  max %.3f ms  "
        "at the end %.3f ms\n",
        what, run.messages, run.medianMs, run.p99Ms, run.maxMs, run.driftMs);
}

}  // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    SongTiming timing;
    OMBData song(timing);
    makeSong(song, seconds);
    NullUi ui;
    PlayBuffer buffer;
    PlayBufferBuilder(ui).BuildPlayBuffer(song, -1, 0, PlayBufferBuilder::kSongEnd, buffer);
    const std::vector<int> ticks = messageTicks(buffer);
    std::printf("%d s at %d quarter notes a minute, %zu messages\n", seconds, kTempo, ticks.size());
    report("timer alone", timerAlone(std::min(seconds, 10)));
    for (const bool busy : {false, true}) {
        timing.defaultTempo = kTempo;
        const Play run = play(song, ticks, busy);
        report(busy ? "other core busy" : "other core idle", run.lateness);
        report("  own lateness", run.ownLateness);
    }
    return 0;
}
