// How soon a played note is heard while recording: the time from the input callback to the
// echo's send on the output. A keyboard thread calls the callback as a driver does; the main
// thread stands in for the window thread, taking the posted commands from a CommandQueue and
// running the transport's input step, which records each note and echoes it to a capture-like
// port (the capture file's output, with each send's time noted beside it). Two runs:
//   spaced: one message every 5 ms for 4 seconds (a player on an idle window);
//   burst:  1,000 messages in one second; none may be lost.
// The floor, from the same run: the clock read alone, and a bare hand-off of one command from
// the keyboard thread to the main thread through the same queue.
//
// Usage: record_echo_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/record_target.h"
#include "app/transport.h"
#include "app/transport_controls.h"
#include "model/undo_history.h"
#include "platform/capture_output.h"
#include "platform/command_queue.h"
#include "platform/midi_ports.h"
#include "platform/mm_timer.h"
#include "platform/null_ui.h"
#include "playback/command_ids.h"
#include "staff/staff_page.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMessageBudget = 8000;

// The times each message was handed to the callback and its echo was sent, by message.
struct Times {
    std::vector<Clock::time_point> input = std::vector<Clock::time_point>(kMessageBudget);
    std::vector<Clock::time_point> echo;
};

// The capture output, noting when each note goes out.
class TimedCapture : public MidiOutput {
public:
    TimedCapture(std::unique_ptr<CaptureOutput> capture, Times& times)
        : capture_(std::move(capture)), times_(times) {}
    bool send(std::span<const std::uint8_t> message) override {
        const bool sent = capture_->send(message);
        if ((message[0] & 0xE0) == 0x80)
            times_.echo.push_back(Clock::now());
        return sent;
    }
    bool close() override { return capture_->close(); }

private:
    std::unique_ptr<CaptureOutput> capture_;
    Times& times_;
};

class BenchPorts : public MidiPorts {
public:
    BenchPorts(std::filesystem::path file, Times& times) : file_(std::move(file)), times_(times) {}
    std::vector<std::string> listOutputs() override { return {"Capture"}; }
    std::vector<std::string> listInputs() override { return {"Keyboard"}; }
    bool isBuiltInSynthesizer(int) const override { return false; }
    std::shared_ptr<MidiOutput> openOutput(int) override {
        return std::make_shared<TimedCapture>(CaptureOutput::open(file_), times_);
    }
    std::unique_ptr<MidiInput> openInput(int, MidiInput::Callback callback) override {
        callback_ = std::move(callback);
        return std::make_unique<MidiInput>();
    }
    MidiInput::Callback callback_;

private:
    std::filesystem::path file_;
    Times& times_;
};

class NoControls : public TransportControls {
public:
    void setButtonEnabled(int, bool) override {}
    void setTopMenusEnabled(bool) override {}
    void setAcceleratorsEnabled(bool) override {}
    void minimize() override {}
    void restore() override {}
    bool isChecked(int) const override { return false; }
};

class Window : public RecordTarget {
public:
    explicit Window(SongTiming& timing) : song(timing) {}
    OMBData& playedSong() override { return song; }
    StaffPage& playedPage() override { return page; }
    int soloTrack() const override { return -1; }
    void playStateChanged() override {}
    void repaintPage() override {}
    void turnPageTo(int tick) override { page.TurnPageTo(tick); }
    void drawHighlight(const Note&, int) override {}
    void tempoChanged() override {}
    void refreshStatusBar() override {}
    int currentTrack() const override { return 0; }
    UndoHistory& history() override { return undo; }

    OMBData song;
    UndoHistory undo{song};
    StaffPage page{song, 4};
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void report(const char* name, const std::vector<double>& us) {
    std::printf("%-28s n=%5zu  median %7.1f us  p99 %7.1f us  max %7.1f us\n", name, us.size(),
                percentile(us, 0.5), percentile(us, 0.99), percentile(us, 1.0));
}

// One take: count messages, spacing apart, from the keyboard thread while the main thread
// drains; returns the echo latencies in microseconds and says what was lost.
std::vector<double> take(const char* name, Transport& transport, Window& window, BenchPorts& ports,
                         CommandQueue& queue, Times& times, int count,
                         std::chrono::microseconds spacing) {
    times.echo.clear();
    times.echo.reserve(kMessageBudget);
    transport.RecordStart(
        &window, [] { return nullptr; }, [] { return false; });
    const auto start = Clock::now();
    std::thread keyboard([&] {
        for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_until(start + spacing * i);
            // Note-on, then its release, on keys 48 to 83.
            const std::uint32_t key = 48 + (i / 2) % 36;
            const std::uint32_t velocity = i % 2 == 0 ? 100 : 0;
            const auto ms = static_cast<std::uint32_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
                    .count());
            times.input[i] = Clock::now();
            ports.callback_({0, ms, 0x90 | key << 8 | velocity << 16});
        }
    });
    const auto until = start + spacing * count + std::chrono::milliseconds(200);
    while (Clock::now() < until) {
        if (const auto command = queue.take(std::chrono::milliseconds(5));
            command && command->commandId == ID_MIDI_INPUT) {
            transport.midiInput();
        }
    }
    keyboard.join();
    std::vector<double> latencies;
    const std::size_t echoed = std::min<std::size_t>(times.echo.size(), count);
    for (std::size_t i = 0; i < echoed; ++i) {
        latencies.push_back(
            std::chrono::duration<double, std::micro>(times.echo[i] - times.input[i]).count());
    }
    transport.StopAll();
    std::printf("%-28s %d messages in %.2f s, %zu echoed, %zu lost\n", name, count,
                std::chrono::duration<double>(spacing * count).count(), echoed,
                static_cast<std::size_t>(count) - echoed);
    return latencies;
}

// The floor: a command handed from another thread to this one through the same queue, and
// the clock read on its own.
void reportFloor(CommandQueue& queue) {
    std::vector<double> handOff;
    std::vector<double> clockRead;
    for (int i = 0; i < 400; ++i) {
        Clock::time_point posted;
        std::thread poster([&] {
            posted = Clock::now();
            queue.post(ID_MIDI_INPUT, 0);
        });
        queue.take(std::chrono::seconds(1));
        const auto taken = Clock::now();
        poster.join();
        handOff.push_back(std::chrono::duration<double, std::micro>(taken - posted).count());
        const auto before = Clock::now();
        clockRead.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - before).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    report("floor: queue hand-off", handOff);
    report("floor: clock read", clockRead);
}

}  // namespace

int main() {
    const auto dir = std::filesystem::temp_directory_path() / "tolvar32_record_echo_bench";
    std::filesystem::create_directories(dir);
    Times times;
    BenchPorts ports(dir / "capture.txt", times);
    NullUi ui;
    MmTimer clock;
    Application app(dir / "tolvar32.ini", ui, clock, ports);
    app.settings.setText(settings_keys::kBoard, "Capture");
    app.settings.setText(settings_keys::kInBoard, "Keyboard");
    app.deviceConfiguration.selectSavedOutput();
    NoControls controls;
    CommandQueue queue;
    Transport transport(app, controls, queue);
    Window window(app.timing);

    const auto spaced = take("spaced (every 5 ms)", transport, window, ports, queue, times, 800,
                             std::chrono::milliseconds(5));
    report("echo latency, spaced", spaced);
    const auto burst = take("burst (1,000 in 1 s)", transport, window, ports, queue, times, 1000,
                            std::chrono::milliseconds(1));
    report("echo latency, burst", burst);
    reportFloor(queue);
    std::filesystem::remove_all(dir);
    return 0;
}
