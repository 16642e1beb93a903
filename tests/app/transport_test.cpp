#include "app/transport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/command_ids.h"
#include "app/play_target.h"
#include "app/transport_controls.h"
#include "platform/command_poster.h"
#include "playback/command_ids.h"
#include "staff/staff_page.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

using Buttons = std::vector<bool>;

// Prev, Next, Pause, Play, Play All, Stop.
const Buttons kStopped{true, true, false, true, true, false};
const Buttons kPaused{true, true, false, true, false, true};
const Buttons kPlayingAll{false, false, true, false, false, true};
const Buttons kPlayingPage{false, false, false, false, false, true};

class FakeControls : public TransportControls {
public:
    void setButtonEnabled(int commandId, bool enabled) override { buttons[commandId] = enabled; }
    void setTopMenusEnabled(bool enabled) override { menusEnabled = enabled; }
    void setAcceleratorsEnabled(bool enabled) override { acceleratorsEnabled = enabled; }
    void minimize() override { minimized = true; }
    void restore() override { minimized = false; }
    bool isChecked(int commandId) const override { return checks.at(commandId); }

    Buttons transport() const {
        Buttons enabled;
        for (const int id : {command::kPrevPage, command::kNextPage, command::kPause,
                             command::kPlay, command::kPlayAll, command::kStop})
            enabled.push_back(buttons.at(id));
        return enabled;
    }

    std::map<int, bool> buttons;
    std::map<int, bool> checks{{command::kAnimate, true}, {command::kMinimizeOnPlay, false}};
    bool menusEnabled = true;
    bool acceleratorsEnabled = true;
    bool minimized = false;
};

// A staff window reduced to what a play reads and shows.
class FakeWindow : public PlayTarget {
public:
    explicit FakeWindow(SongTiming& timing) : song(timing) {}

    OMBData& playedSong() override { return song; }
    StaffPage& playedPage() override { return page; }
    int soloTrack() const override { return -1; }
    void playStateChanged() override { ++stateChanges; }
    void repaintPage() override {}
    void turnPageTo(int tick) override { page.TurnPageTo(tick); }
    void drawHighlight(const Note&, int) override { ++highlights; }
    void tempoChanged() override {}
    void refreshStatusBar() override {}

    OMBData song;
    StaffPage page{song, 4};
    int stateChanges = 0;
    int highlights = 0;
};

class PostBox : public CommandPoster {
public:
    void post(int commandId, int param) noexcept override { posts.emplace_back(commandId, param); }
    std::vector<std::pair<int, int>> posts;
};

class TransportTest : public ::testing::Test {
protected:
    TransportTest() {
        app.deviceConfiguration.selectSavedOutput();
        transport.showStopped(true);
    }

    // A song of two bars: a note on each beat of track 0.
    void fillSong() {
        for (int beat = 0; beat < 8; ++beat)
            window.song.track(0).add(std::make_unique<Note>(beat * 120, 80, 100, 60, 0, 0));
        window.song.changed = false;
    }
    // Lets time pass and hands the posted play steps to the transport, as the window does.
    void run(int ms) {
        for (int i = 0; i < ms; ++i) {
            clock.advance(1);
            for (const auto& [commandId, timerId] : std::exchange(poster.posts, {})) {
                ASSERT_EQ(commandId, ID_PLAY_STEP);
                transport.playStep(timerId);
            }
        }
    }
    int noteOnsSent() const {
        int count = 0;
        for (const auto& bytes : ports.sentBytes())
            count += (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0 ? 1 : 0;
        return count;
    }
    // Pause and Stop act when pressed; Pause's click then runs its command.
    void pressPause() {
        transport.buttonPressed(command::kPause);
        transport.pause();
    }

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

TEST_F(TransportTest, PlayAllPlaysEveryNoteThenPutsBackPageAndChangedFlag) {
    fillSong();
    window.page.setFirstBar(2);
    transport.playAll(&window);
    EXPECT_TRUE(transport.playActive());
    EXPECT_TRUE(transport.notesAppear());
    EXPECT_EQ(controls.transport(), kPlayingAll);
    EXPECT_FALSE(controls.menusEnabled);
    EXPECT_FALSE(controls.acceleratorsEnabled);
    EXPECT_EQ(window.page.firstBar(), 1) << "animation starts at the first bar";

    run(5000);  // eight beats at 120 a minute, and the last note's end
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(noteOnsSent(), 8);
    EXPECT_EQ(window.highlights, 8);
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(controls.acceleratorsEnabled);
    EXPECT_EQ(window.page.firstBar(), 2);
    EXPECT_FALSE(window.song.changed);
}

TEST_F(TransportTest, PlayAllWithoutAnimationLeavesThePageAlone) {
    fillSong();
    controls.checks[command::kAnimate] = false;
    window.page.setFirstBar(2);
    transport.playAll(&window);
    EXPECT_FALSE(transport.notesAppear());
    EXPECT_EQ(window.page.firstBar(), 2);
    run(5000);
    EXPECT_EQ(noteOnsSent(), 8);
    EXPECT_EQ(window.highlights, 0);
    EXPECT_EQ(window.page.firstBar(), 2);
}

TEST_F(TransportTest, AnimateTurnedOnDuringAPauseRestoresThisPlaysFirstBar) {
    fillSong();
    transport.playAll(&window);  // animated from bar 1, which it puts back
    run(5000);
    controls.checks[command::kAnimate] = false;
    window.page.setFirstBar(2);
    transport.playAll(&window);
    run(300);
    pressPause();
    controls.checks[command::kAnimate] = true;
    transport.play(&window);
    run(5000);
    ASSERT_FALSE(transport.playActive());
    EXPECT_EQ(window.page.firstBar(), 2);
}

TEST_F(TransportTest, PlayPlaysThePageBarsAndKeepsThePlace) {
    fillSong();
    transport.play(&window);
    EXPECT_EQ(controls.transport(), kPlayingPage);
    EXPECT_FALSE(controls.menusEnabled);
    run(5000);
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(noteOnsSent(), 8);
    EXPECT_EQ(window.page.firstBar(), 1);
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_EQ(window.stateChanges, 2) << "once into play, once out";
}

TEST_F(TransportTest, PauseSilencesThePlayAndPlayResumesIt) {
    fillSong();
    transport.playAll(&window);
    run(300);
    pressPause();
    EXPECT_TRUE(transport.playActive());
    EXPECT_FALSE(transport.notesAppear());
    EXPECT_EQ(controls.transport(), kPaused);
    EXPECT_FALSE(controls.menusEnabled);
    const int sentWhenPaused = noteOnsSent();
    run(1000);
    EXPECT_EQ(noteOnsSent(), sentWhenPaused) << "nothing plays while paused";

    transport.play(&window);
    EXPECT_EQ(controls.transport(), kPlayingAll);
    run(100);
    EXPECT_GT(noteOnsSent(), sentWhenPaused);
    transport.buttonPressed(command::kStop);
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_TRUE(controls.menusEnabled);
}

TEST_F(TransportTest, StopWhilePausedEndsThePlayAtOnce) {
    fillSong();
    transport.playAll(&window);
    pressPause();
    transport.buttonPressed(command::kStop);
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(controls.acceleratorsEnabled);
}

TEST_F(TransportTest, AStepPostedBeforeStopPlaysNothing) {
    fillSong();
    transport.playAll(&window);
    transport.buttonPressed(command::kStop);
    const auto sent = ports.sent.size();
    run(1000);
    EXPECT_EQ(ports.sent.size(), sent);
    EXPECT_FALSE(transport.playActive());
}

TEST_F(TransportTest, PlayAllIsIgnoredWhilePlaying) {
    fillSong();
    transport.playAll(&window);
    run(300);
    FakeWindow other(app.timing);
    transport.playAll(&other);
    EXPECT_EQ(other.stateChanges, 0);
    run(5000);
    EXPECT_EQ(noteOnsSent(), 8);
}

TEST_F(TransportTest, NothingToPlayReturnsToTheStoppedState) {
    transport.play(&window);
    EXPECT_EQ(ui.notices.back(), "Nothing to Play");
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_TRUE(controls.menusEnabled);

    transport.playAll(&window);
    EXPECT_EQ(ui.notices.back(), "Nothing to Play");
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(controls.transport(), kStopped);
}

TEST_F(TransportTest, WithoutASongPlayDoesNothing) {
    transport.play(nullptr);
    transport.playAll(nullptr);
    EXPECT_FALSE(transport.playActive());
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(TransportTest, MinimizeOnPlayBringsTheWindowBackAtTheEnd) {
    fillSong();
    controls.checks[command::kMinimizeOnPlay] = true;
    transport.play(&window);
    EXPECT_TRUE(controls.minimized);
    run(5000);
    EXPECT_FALSE(controls.minimized);
}

TEST_F(TransportTest, TheSongsTempoChangesArePutBackAtTheEnd) {
    fillSong();
    window.song.track(0).add(std::make_unique<Event>(
        0, Event::kStatusMeta, std::span<const std::uint8_t>{}, Event::kMetaTempo, 200, 0));
    const int tempo = app.timing.defaultTempo;
    transport.playAll(&window);
    run(100);
    EXPECT_EQ(app.timing.defaultTempo, 200);
    transport.buttonPressed(command::kStop);
    EXPECT_EQ(app.timing.defaultTempo, tempo);
}

// StopAll hands over to a running play list once per play, saying whether the user stopped.
TEST_F(TransportTest, APlayListsPlayHandsOverWhenItStops) {
    fillSong();
    std::vector<bool> handOvers;
    transport.setPlayNextEntry([&](bool stoppedByUser) { handOvers.push_back(stoppedByUser); });
    transport.playAll(&window);
    run(5000);
    EXPECT_TRUE(handOvers.empty()) << "a play of no list";

    for (const bool stop : {false, true}) {
        transport.setPlayListActive(true);
        transport.playAll(&window);
        if (stop) {
            pressPause();
            transport.buttonPressed(command::kStop);
        }
        run(5000);
        EXPECT_FALSE(transport.playListActive());
    }
    EXPECT_EQ(handOvers, (std::vector<bool>{false, true}));
}

TEST_F(TransportTest, WithoutASongEveryTransportButtonIsGrey) {
    transport.showStopped(false);
    EXPECT_EQ(controls.transport(), Buttons(6, false));
}

}  // namespace
