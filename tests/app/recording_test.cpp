#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/transport.h"
#include "playback/command_ids.h"
#include "playback/midi_input_queue.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"
#include "transport_fakes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

MidiInputEvent on(std::uint32_t ms, int key, int velocity = 100, int status = 0x90) {
    return {0, ms, static_cast<std::uint32_t>(status | key << 8 | velocity << 16)};
}
MidiInputEvent off(std::uint32_t ms, int key) {
    return on(ms, key, 0, 0x80);
}

// Recording through the transport: the input is a scripted port that calls the input callback
// from a thread of its own; the posted ID_MIDI_INPUT commands are run as the window would.
// Tempo 120 and division 120: 0.24 ticks a millisecond; a page of 4 bars is 1920 ticks over
// 552 pixels.
class RecordingTest : public ::testing::Test {
protected:
    RecordingTest() {
        app.settings.setText(settings_keys::kInBoard, "In");
        app.settings.setText(settings_keys::kBoard, "Out");
        app.deviceConfiguration.selectSavedOutput();
        transport.showStopped(true);
        controls.checks[command::kAnimate] = false;
    }

    void record() {
        transport.RecordStart(
            &window, [] { return nullptr; }, [this] { return configure(); });
    }
    void play(const std::vector<MidiInputEvent>& events) {
        ports.playInput(events);
        for (const auto& [id, param] : std::exchange(poster.posts, {})) {
            ASSERT_EQ(id, ID_MIDI_INPUT);
            transport.midiInput();
        }
    }
    // (start, duration, key) of the recorded track's notes.
    std::vector<std::vector<int>> notes() const {
        std::vector<std::vector<int>> found;
        const Track& track = window.song.track(window.track);
        for (int i = 0; i < track.count(); ++i) {
            const auto* note = static_cast<const Note*>(track.at(i));
            found.push_back(
                {note->start(), note->duration(), keyOf(note->position(), note->accidental())});
        }
        return found;
    }
    // The notes sent out, on and off.
    std::vector<Bytes> notesSent() const {
        std::vector<Bytes> sent;
        for (const Bytes& bytes : ports.sentBytes())
            if ((bytes[0] & 0xE0) == 0x80)
                sent.push_back(bytes);
        return sent;
    }

    ScratchDir dir;
    ScriptedUi ui;
    ManualClock clock;
    RecordingMidiPorts ports{clock, {"Out"}, {"In"}};
    Application app{dir / "tolvar32.ini", ui, clock, ports};
    FakeControls controls;
    PostBox poster;
    Transport transport{app, controls, poster};
    FakeWindow window{app.timing};
    std::function<bool()> configure = [] { return false; };
};

TEST_F(RecordingTest, NotesLandSnappedToThePixelGridAndReleasesFixTheirLengths) {
    window.page.setFirstBar(3);
    record();
    ASSERT_TRUE(transport.recording());
    EXPECT_EQ(window.page.firstBar(), 1);
    EXPECT_EQ(ui.notices, std::vector<std::string>{"Recording Started"});
    play({
        on(1100, 60),  // 264 ticks: x 145 maps back to 260
        off(1600, 60),
        on(2000, 64),  // two presses of one key ...
        on(2200, 64),
        on(2500, 64, 0),  // ... and their releases, as note-ons
        on(3000, 64, 0),
        off(3100, 67),          // a release with no note
        on(3200, 7, 90, 0xB0),  // a controller
        {0, 3300, 0xF8},        // a timing clock
    });
    EXPECT_EQ(notes(),
              (std::vector<std::vector<int>>{{260, 124, 60}, {480, 240, 64}, {525, 75, 64}}));
    EXPECT_EQ(window.drawn, (std::vector<int>{260, 525, 480}));
    EXPECT_EQ(notesSent(), (std::vector<Bytes>{{0x90, 60, 100},
                                               {0x80, 60, 0},
                                               {0x90, 64, 100},
                                               {0x90, 64, 100},
                                               {0x80, 64, 0},
                                               {0x80, 64, 0},
                                               {0x80, 67, 0}}));
    EXPECT_TRUE(window.song.changed) << "a take under way is asked about at Exit";
}

TEST_F(RecordingTest, PageTurnsWithTheMusicAPositionLeftOfThePageMapsBackAndAFullQueueDrops) {
    record();
    play({on(9000, 60), off(9500, 60)});  // 2160 ticks: bar 5
    EXPECT_EQ(window.page.firstBar(), 5);
    play({on(9600, 62)});        // 2304 ticks, on the page
    window.page.setFirstBar(7);  // 2880 onwards: x 0 maps back to 2636
    play({on(9700, 64), off(9800, 64)});
    EXPECT_EQ(notes(),
              (std::vector<std::vector<int>>{{2160, 120, 60}, {2302, 2304, 62}, {2636, 0, 64}}));

    // A full queue drops what does not fit, and Stop says how many were lost.
    std::vector<MidiInputEvent> burst;
    for (std::uint32_t i = 0; i < MidiInputQueue::kCapacity + 25; ++i)
        burst.push_back(off(i, 60));
    ports.playInput(burst);  // the window thread does not get to run meanwhile
    transport.buttonPressed(command::kStop);
    EXPECT_EQ(ui.notices.back(), "25 input messages lost: the input queue was full");
}

TEST_F(RecordingTest, StopClosesInputAndOutputSilencesHeldNotesAndKeepsTheTakeAsOneStep) {
    window.song.track(window.track).add(std::make_unique<Note>(0, 80, 120, 85, 0, 0));
    window.song.changed = false;
    record();
    EXPECT_FALSE(controls.menusEnabled);
    EXPECT_FALSE(controls.acceleratorsEnabled);
    EXPECT_FALSE(controls.buttons.at(command::kRecord));
    EXPECT_TRUE(controls.buttons.at(command::kStop));
    play({on(100, 60), off(200, 60), on(300, 72)});  // the key of the note before the take
    transport.buttonPressed(command::kStop);
    EXPECT_FALSE(transport.recording());
    EXPECT_EQ(ports.inputsOpen, 0);
    EXPECT_FALSE(app.device.outputOpen());
    EXPECT_EQ(notesSent().back(), (Bytes{0x80, 72, 0})) << "the held key is released";
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(controls.buttons.at(command::kRecord));
    EXPECT_FALSE(controls.buttons.at(command::kStop));
    EXPECT_EQ(notes().size(), 3u);
    EXPECT_EQ(notes()[0], (std::vector<int>{0, 120, 60})) << "the note before the take";

    EXPECT_EQ(window.undo.undoName(), "Recording");
    EXPECT_TRUE(window.song.changed);
    window.undo.undo();
    EXPECT_EQ(notes(), (std::vector<std::vector<int>>{{0, 120, 60}}));
    EXPECT_FALSE(window.song.changed);
}

TEST_F(RecordingTest, AReleaseEndsOnlyTheNoteOfItsOwnKeyAndChannel) {
    record();
    // C and C# share a staff position; so does a key played on two channels.
    play({on(0, 60), on(100, 61), off(500, 60), off(1000, 61)});
    play({on(1100, 64, 100, 0x91), on(1200, 64), on(1500, 64, 0, 0x91), off(2000, 64)});
    EXPECT_EQ(notes(), (std::vector<std::vector<int>>{
                           {0, 120, 60}, {20, 220, 61}, {260, 100, 64}, {285, 195, 64}}));
}

TEST_F(RecordingTest, TheSoftestPressIsASoundingNoteNotARest) {
    record();
    play({on(0, 60, 1), off(500, 60)});
    const Track& track = window.song.track(window.track);
    ASSERT_EQ(track.count(), 1);
    EXPECT_FALSE(static_cast<const Note*>(track.at(0))->isRest());
    EXPECT_EQ(static_cast<const Note*>(track.at(0))->velocity(), 2);
}

TEST_F(RecordingTest, ACountInPlaysFirstAndTheTakeStartsAtItsEnd) {
    window.song.timeSignature = {3, 4};
    transport.setCountInBars(1);
    transport.toggleMetronomeForRecord();
    record();
    ASSERT_TRUE(transport.recording());
    for (int ms = 0; ms < 2100; ++ms) {
        clock.advance(1);
        for (const auto& [id, timerId] : std::exchange(poster.posts, {})) {
            ASSERT_EQ(id, ID_PLAY_STEP);
            transport.playStep(timerId);
        }
    }
    std::vector<std::pair<std::uint64_t, Bytes>> clicks;
    for (const auto& message : ports.sent)
        if (message.bytes[0] == 0x99)
            clicks.emplace_back(message.timeUs, message.bytes);
    // A bar of 3/4 at 120 a minute counts in, and the metronome goes on with the take.
    EXPECT_EQ(clicks, (std::vector<std::pair<std::uint64_t, Bytes>>{{0, {0x99, 76, 100}},
                                                                    {500000, {0x99, 77, 80}},
                                                                    {1000000, {0x99, 77, 80}},
                                                                    {1500000, {0x99, 76, 100}},
                                                                    {2000000, {0x99, 77, 80}}}));
    play({on(1000, 62), off(1200, 62), on(1501, 60), off(2000, 60), on(2500, 64), off(2600, 64)});
    EXPECT_EQ(notes(), (std::vector<std::vector<int>>{{0, 0, 62}, {0, 120, 60}, {240, 24, 64}}))
        << "keys of the count-in land at 0, and the count-in's end is tick 0";
    transport.buttonPressed(command::kStop);
    EXPECT_FALSE(transport.recording());
    const std::size_t after = ports.sent.size();
    clock.advance(2000);
    EXPECT_TRUE(poster.posts.empty()) << "no click after Stop";
    EXPECT_EQ(ports.sent.size(), after);
}

TEST_F(RecordingTest, StopEndsTheKeysStillHeldAtTheStopTime) {
    record();
    play({on(4000, 60), on(4100, 67), off(4500, 67)});  // 960 ticks, then 980 to 1080
    clock.advance(5000);                                // 1200 ticks, with no message since
    transport.buttonPressed(command::kStop);
    EXPECT_EQ(notes(), (std::vector<std::vector<int>>{{960, 240, 60}, {980, 100, 67}}));

    // Input that ran ahead of the clock still counts: nothing ends before its last message.
    record();
    play({on(100, 72), off(9000, 64)});
    transport.buttonPressed(command::kStop);
    EXPECT_EQ(notes().front(), (std::vector<int>{20, 2140, 72}));
}

TEST_F(RecordingTest, ProgramChangeAtStartOnlyForATrackWithAProgram) {
    const auto programChanges = [this] {
        std::vector<Bytes> sent;
        for (const Bytes& bytes : ports.sentBytes())
            if (bytes[0] == 0xC2)
                sent.push_back(bytes);
        return sent;
    };
    record();
    transport.StopAll();
    const std::size_t initialSettings = programChanges().size();  // program 0 on every channel
    window.song.program[window.track] = 40;
    record();
    transport.StopAll();
    EXPECT_EQ(programChanges().size(), 2 * initialSettings + 1);
    EXPECT_EQ(programChanges().back(), (Bytes{0xC2, 40}));
}

TEST_F(RecordingTest, RecordIsRefusedWhilePlayingAndWithoutARecordDevice) {
    transport.setPlayActive(true);
    record();
    EXPECT_EQ(ui.notices.back(), "Currently in PLAY mode, Press Stop to return to normal mode.");
    transport.setPlayActive(false);

    app.settings.setText(settings_keys::kInBoard, "-NONE-");
    int configured = 0;
    configure = [&] { return ++configured == 2; };  // Cancel, then OK leaving "-NONE-"
    record();
    record();
    EXPECT_EQ(configured, 2);
    EXPECT_EQ(ui.texts(), std::vector<std::string>(2, "Board not found - Re-configure"));
    EXPECT_EQ(ui.notices.back(), "No Input Driver Selected");
    EXPECT_FALSE(transport.recording());
    EXPECT_TRUE(controls.menusEnabled);
}

}  // namespace
