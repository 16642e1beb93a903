#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/transport.h"
#include "playback/command_ids.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"
#include "transport_fakes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
// A message and its time after the first one of its kind.
using Timed = std::vector<std::pair<std::uint64_t, Bytes>>;

// The metronome and the count-in while a song plays, heard through the capture output with the
// clock moved by hand. Division 120 and 3/4 at 120 a minute: a beat is 120 ticks and half a
// second, a bar a second and a half.
class MetronomeTest : public ::testing::Test {
protected:
    MetronomeTest() {
        app.deviceConfiguration.selectSavedOutput();
        transport.showStopped(true);
        window.song.timeDivision = 120;
        window.song.timeSignature = {3, 4};
        app.timing.defaultTempo = 120;
    }

    // A note on each beat of two bars of track 0, from startTick on.
    void fillSong(int startTick = 0) {
        for (int beat = 0; beat < 6; ++beat)
            window.song.track(0).add(
                std::make_unique<Note>(startTick + beat * 120, 80, 100, 60, 0, 0));
        window.song.changed = false;
    }
    void run(int ms) {
        for (int i = 0; i < ms; ++i) {
            clock.advance(1);
            for (const auto& [commandId, timerId] : std::exchange(poster.posts, {})) {
                ASSERT_EQ(commandId, ID_PLAY_STEP);
                transport.playStep(timerId);
            }
        }
    }
    // The messages whose status is one of statuses, timed from the first message sent.
    Timed sent(std::vector<std::uint8_t> statuses) const {
        Timed found;
        for (const auto& message : ports.sent)
            if (std::find(statuses.begin(), statuses.end(), message.bytes[0]) != statuses.end())
                found.emplace_back(message.timeUs - ports.sent.front().timeUs, message.bytes);
        return found;
    }
    Timed clicks() const { return sent({0x99}); }

    ScratchDir dir;
    ScriptedUi ui;
    ManualClock clock;
    RecordingMidiPorts ports{clock, {"Out", kBuiltInSynthesizerName}, {}, 1};
    Application app{dir / "tolvar32.ini", ui, clock, ports};
    FakeControls controls;
    PostBox poster;
    Transport transport{app, controls, poster};
    FakeWindow window{app.timing};
};

TEST_F(MetronomeTest, ClicksEveryBeatAccentingBarsAndFollowingATempoChangeUntilThePlayEnds) {
    fillSong();
    window.song.track(1).add(std::make_unique<Event>(
        360, Event::kStatusMeta, std::span<const std::uint8_t>{}, Event::kMetaTempo, 60, 0));
    transport.toggleMetronomeForPlay();
    EXPECT_EQ(ui.notices.back(), "Metronome for Play on");
    EXPECT_TRUE(app.settings.metronome().forPlay);
    transport.playAll(&window);
    run(6000);
    ASSERT_FALSE(transport.playActive());
    // From the second bar a beat lasts a second; the play ends with the last note's end, at
    // 700 ticks, before the click of 720.
    const Timed expected{{0, {0x99, 76, 100}},      {500000, {0x99, 77, 80}},
                         {1000000, {0x99, 77, 80}}, {1500000, {0x99, 76, 100}},
                         {2500000, {0x99, 77, 80}}, {3500000, {0x99, 77, 80}}};
    EXPECT_EQ(clicks(), expected);
    // Each click sounds with the note of its beat; a note that follows another message of its
    // tick (the opening settings, the tempo) goes out the millisecond a cable takes later.
    const Timed notes = sent({0x90});
    ASSERT_EQ(notes.size(), 6u);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_GE(notes[i].first, expected[i].first) << "beat " << i;
        EXPECT_LE(notes[i].first, expected[i].first + 1000) << "beat " << i;
    }
    EXPECT_EQ(sent({0x89}).size(), 6u) << "every click ends, the last at the stop";
    EXPECT_FALSE(window.song.changed);
    EXPECT_FALSE(window.undo.canUndo());
}

TEST_F(MetronomeTest, ACountInOfOneOrTwoBarsPlaysTheSongThatLongAfterItsFirstClick) {
    fillSong();
    for (const int bars : {1, 2}) {
        ports.sent.clear();
        transport.setCountInBars(bars);
        transport.playAll(&window);
        run(8000);
        ASSERT_FALSE(transport.playActive());
        const Timed counted = clicks();
        ASSERT_EQ(counted.size(), 3u * bars) << "without the metronome only the count-in clicks";
        EXPECT_EQ(counted.front().second, (Bytes{0x99, 76, 100}));
        EXPECT_EQ(counted.back().first, (3u * bars - 1) * 500000);
        const Timed notes = sent({0x90});
        ASSERT_FALSE(notes.empty());
        EXPECT_EQ(notes.front().first - counted.front().first, bars * 1500000u) << bars;
    }
    EXPECT_EQ(ui.notices.back(), "Count-in of 2 bars");
}

TEST_F(MetronomeTest, PlayOfAPageCountsInAtItsFirstBarAndPauseSilencesTheClicks) {
    fillSong(360);
    window.page.setFirstBar(2);
    transport.setCountInBars(1);
    transport.toggleMetronomeForPlay();
    transport.play(&window);
    run(900);
    EXPECT_EQ(clicks().size(), 2u);
    transport.buttonPressed(command::kPause);
    transport.pause();
    const std::size_t before = ports.sent.size();
    run(3000);
    EXPECT_EQ(ports.sent.size(), before) << "nothing sounds while paused";
    EXPECT_TRUE(clock.pendingTimers().empty()) << "the clicks' timers stop too";
    ports.sent.clear();
    transport.play(&window);  // resumes at the page's first bar, after a count-in again
    run(6000);
    ASSERT_FALSE(transport.playActive());
    const Timed counted = clicks();
    ASSERT_GE(counted.size(), 4u);
    EXPECT_EQ(counted[3].first - counted[0].first, 1500000u);
    EXPECT_EQ(sent({0x90}).front().first - counted[0].first, 1500000u);
}

TEST_F(MetronomeTest, ResumingInTheMiddleOfTheSongKeepsTheClicksOnTheNotesBeats) {
    fillSong();
    transport.toggleMetronomeForPlay();
    transport.playAll(&window);
    run(200);
    transport.buttonPressed(command::kPause);
    transport.pause();
    // Bar 2's first note follows the end of the note before it by 20 ticks: the resumed play
    // waits those before it, and the clicks wait with it.
    window.page.setFirstBar(2);
    ports.sent.clear();
    transport.play(&window);
    run(3000);
    const Timed counted = clicks();
    const Timed notes = sent({0x90});
    ASSERT_FALSE(counted.empty());
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(counted.front().second, (Bytes{0x99, 76, 100})) << "bar 2 starts accented";
    EXPECT_GE(notes.front().first, counted.front().first);
    EXPECT_LE(notes.front().first, counted.front().first + 1000);
}

// The clicks keep to the notes when the play is slower, when its speed changes midway and
// when a loop starts its bars again.
TEST_F(MetronomeTest, ClicksFollowTheSpeedItsChangeMidPlayAndEachPassOfALoop) {
    fillSong();
    transport.toggleMetronomeForPlay();
    transport.setSpeed(50);
    transport.setLoop({true, 2, 2});
    transport.playAll(&window);
    // Bar 2 at half speed: a beat takes a second, a pass three.
    run(6500);
    transport.setSpeed(100);
    run(3000);
    transport.buttonPressed(command::kStop);
    transport.StopAll();
    const Timed counted = clicks();
    const Timed notes = sent({0x90});
    ASSERT_GE(counted.size(), 12u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(counted[i].first, i * 1000000) << "click " << i;
    }
    for (std::size_t i = 0; i < counted.size(); ++i) {
        // A pass starts the bar again: accented.
        const std::uint8_t key = i % 3 == 0 ? 76 : 77;
        EXPECT_EQ(counted[i].second[1], key) << "click " << i;
        const bool withItsNote =
            std::any_of(notes.begin(), notes.end(), [&](const auto& note) {
                return note.first >= counted[i].first && note.first <= counted[i].first + 1000;
            });
        EXPECT_TRUE(withItsNote) << "click " << i << " at " << counted[i].first;
    }
    // After the change to full speed at 6.5 s the beats come half a second apart.
    EXPECT_EQ(counted[8].first - counted[7].first, 500000u);
    EXPECT_FALSE(window.song.changed);
}

TEST_F(MetronomeTest, WithTheAidsTurnedOffAgainAPlaySendsWhatItSentBefore) {
    fillSong();
    transport.playAll(&window);
    run(5000);
    const Timed fresh = sent({0x80, 0x90, 0xB0, 0xC0, 0x89, 0x99});
    transport.toggleMetronomeForPlay();
    transport.toggleMetronomeForRecord();
    transport.toggleClickEighths();
    transport.setCountInBars(2);
    transport.toggleMetronomeForPlay();
    transport.toggleMetronomeForRecord();
    transport.toggleClickEighths();
    transport.setCountInBars(0);
    EXPECT_EQ(ui.notices.back(), "No count-in");
    ports.sent.clear();
    transport.playAll(&window);
    run(5000);
    EXPECT_EQ(sent({0x80, 0x90, 0xB0, 0xC0, 0x89, 0x99}), fresh);
    EXPECT_FALSE(window.song.changed);
}

}  // namespace
