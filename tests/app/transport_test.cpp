#include "app/transport.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/application.h"
#include "playback/command_ids.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"
#include "transport_fakes.h"

namespace {

// Prev, Next, Pause, Play, Play All, Stop.
const Buttons kStopped{true, true, false, true, true, false};
const Buttons kPaused{true, true, false, true, false, true};
const Buttons kPlayingAll{false, false, true, false, false, true};
const Buttons kPlayingPage{false, false, false, false, false, true};

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
    FakeWindow other(app.timing);
    transport.playAll(&other);
    EXPECT_EQ(other.stateChanges, 0) << "Play All is ignored while playing";

    run(5000);  // eight beats at 120 a minute, and the last note's end
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(noteOnsSent(), 8);
    EXPECT_EQ(static_cast<int>(window.drawn.size()), 8);
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(controls.acceleratorsEnabled);
    EXPECT_EQ(window.page.firstBar(), 2);
    EXPECT_FALSE(window.song.changed);
}

TEST_F(TransportTest, WithoutAnimationThePageStaysAndAnimateTurnedOnInAPauseRestoresIt) {
    fillSong();
    controls.checks[command::kAnimate] = false;
    window.page.setFirstBar(2);
    transport.playAll(&window);
    EXPECT_FALSE(transport.notesAppear());
    run(300);
    EXPECT_GT(noteOnsSent(), 0);
    EXPECT_EQ(static_cast<int>(window.drawn.size()), 0);
    EXPECT_EQ(window.page.firstBar(), 2);
    pressPause();
    controls.checks[command::kAnimate] = true;
    transport.play(&window);
    run(5000);
    ASSERT_FALSE(transport.playActive());
    EXPECT_EQ(window.page.firstBar(), 2) << "this play's first bar comes back";
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

TEST_F(TransportTest, PauseSilencesThePlayPlayResumesItAndStopEndsIt) {
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

    pressPause();
    transport.buttonPressed(command::kStop);
    EXPECT_FALSE(transport.playActive()) << "stop while paused ends the play at once";
    EXPECT_EQ(controls.transport(), kStopped);
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(controls.acceleratorsEnabled);

    transport.playAll(&window);
    transport.buttonPressed(command::kStop);
    const auto sent = ports.sent.size();
    run(1000);
    EXPECT_EQ(ports.sent.size(), sent) << "a step posted before Stop plays nothing";
    EXPECT_FALSE(transport.playActive());
}

TEST_F(TransportTest, NothingToPlayReturnsToTheStoppedStateAndNoSongDoesNothing) {
    for (const bool all : {false, true}) {
        all ? transport.playAll(&window) : transport.play(&window);
        EXPECT_EQ(ui.notices.back(), "Nothing to Play") << all;
        EXPECT_FALSE(transport.playActive()) << all;
        EXPECT_EQ(controls.transport(), kStopped) << all;
        EXPECT_TRUE(controls.menusEnabled) << all;
    }
    ui.notices.clear();
    transport.play(nullptr);
    transport.playAll(nullptr);
    EXPECT_FALSE(transport.playActive());
    EXPECT_TRUE(controls.menusEnabled);
    EXPECT_TRUE(ui.notices.empty());
    transport.showStopped(false);
    EXPECT_EQ(controls.transport(), Buttons(6, false)) << "without a song every button is grey";
}

TEST_F(TransportTest, MinimizeOnPlayAndTheSongsTempoChangesArePutBackAtTheEnd) {
    fillSong();
    window.song.track(0).add(std::make_unique<Event>(
        0, Event::kStatusMeta, std::span<const std::uint8_t>{}, Event::kMetaTempo, 200, 0));
    controls.checks[command::kMinimizeOnPlay] = true;
    const int tempo = app.timing.defaultTempo;
    transport.play(&window);
    EXPECT_TRUE(controls.minimized);
    run(100);
    EXPECT_EQ(app.timing.defaultTempo, 200);
    run(5000);
    EXPECT_FALSE(controls.minimized);
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

TEST_F(TransportTest, MuteAndSoloAreHeardMidPlayKeptInTheSettingsAndLeaveTheSongAlone) {
    fillSong();
    transport.toggleSolo(3);
    transport.toggleMute(0);
    transport.playAll(&window);
    run(300);
    EXPECT_EQ(noteOnsSent(), 0) << "track 4 alone is soloed and holds nothing";
    transport.toggleSolo(3);
    run(100);
    EXPECT_EQ(noteOnsSent(), 0) << "track 1 is still muted";
    transport.toggleMute(0);
    run(4000);
    EXPECT_EQ(noteOnsSent(), 7) << "the seven beats after the unmute sound";
    EXPECT_FALSE(window.song.changed);
    EXPECT_FALSE(window.undo.canUndo());
    EXPECT_EQ(ui.notices, (std::vector<std::string>{"Track 4 soloed", "Track 1 muted",
                                                    "Track 4 solo off", "Track 1 unmuted"}));

    transport.toggleMute(15);
    transport.toggleMute(1);
    transport.toggleSolo(4);
    EXPECT_EQ(app.settings.text(settings_keys::kMutedTracks), "2 16");
    EXPECT_EQ(app.settings.text(settings_keys::kSoloedTracks), "5");
    Application restarted{dir / "tolvar32.ini", ui, clock, ports};
    EXPECT_EQ(restarted.trackMix, TrackMix(0x8002, 0x0010));
    transport.clearMix();
    EXPECT_EQ(ui.notices.back(), "Every track sounds");
    EXPECT_EQ(Application(dir / "tolvar32.ini", ui, clock, ports).trackMix, TrackMix());
}

TEST_F(TransportTest, SpeedIsHeardMidPlayKeptInTheSettingsAndLeavesTheSongAlone) {
    fillSong();
    transport.setSpeed(50);
    transport.playAll(&window);
    // A beat lasts a second at half speed: beats 1-3 by 2.1 s, where 5 would sound at full.
    run(2100);
    EXPECT_EQ(noteOnsSent(), 3);
    EXPECT_EQ(app.timing.defaultTempo, 120) << "the song's tempo is what shows";
    // The third beat's end stays where half speed put it (2833 ms); beat 4 follows 20 ticks
    // later at double speed, at 2875 ms, then every 250 ms: beat 8 at 3875 ms.
    transport.setSpeed(1000);
    run(1700);
    EXPECT_EQ(noteOnsSent(), 7);
    run(1000);
    EXPECT_FALSE(transport.playActive());
    EXPECT_FALSE(window.song.changed);
    EXPECT_FALSE(window.undo.canUndo());
    EXPECT_EQ(ui.notices, (std::vector<std::string>{"Speed 50%", "Speed 200%"}));
    EXPECT_EQ(app.settings.text(settings_keys::kSpeed), "200");
    EXPECT_EQ(Application(dir / "tolvar32.ini", ui, clock, ports).speedPercent, 200);

    // A speed the program would not set, written by hand, plays at the song's tempo.
    for (const char* stored : {"24", "201", "fast"}) {
        app.settings.setText(settings_keys::kSpeed, stored);
        EXPECT_EQ(Application(dir / "tolvar32.ini", ui, clock, ports).speedPercent, 100) << stored;
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(TransportTest, LoopRepeatsItsBarsUntilStopIsKeptInTheSettingsAndLeavesTheSongAlone) {
    fillSong();
    transport.setLoop({true, 2, 2});
    transport.playAll(&window);
    // Bar 2 (four beats, 2 s) three times; the fourth pass starts at 6 s.
    run(5900);
    EXPECT_EQ(noteOnsSent(), 12);
    EXPECT_EQ(window.drawn,
              (std::vector<int>{480, 600, 720, 840, 480, 600, 720, 840, 480, 600, 720, 840}));
    EXPECT_TRUE(transport.playActive());
    transport.buttonPressed(command::kStop);
    EXPECT_FALSE(transport.playActive());
    EXPECT_FALSE(window.song.changed);
    EXPECT_FALSE(window.undo.canUndo());
    EXPECT_EQ(app.settings.text(settings_keys::kLoop), "Yes");
    EXPECT_EQ(app.settings.text(settings_keys::kLoopFrom), "2");

    // Bars out of order name the first alone; off, the next Play All plays the song once.
    transport.setLoop({false, 3, 1});
    EXPECT_EQ(app.playLoop, (PlayLoop{false, 3, 3}));
    transport.playAll(&window);
    run(5000);
    EXPECT_FALSE(transport.playActive());
    EXPECT_EQ(noteOnsSent(), 20);
    transport.setLoop({true, 1, 2});
    EXPECT_EQ(ui.notices, (std::vector<std::string>{"Loop bar 2", "Loop off", "Loop bars 1-2"}));
    EXPECT_EQ(Application(dir / "tolvar32.ini", ui, clock, ports).playLoop, (PlayLoop{true, 1, 2}));
    app.settings.setText(settings_keys::kLoopFrom, "-4");
    app.settings.setText(settings_keys::kLoopTo, "x");
    EXPECT_EQ(Application(dir / "tolvar32.ini", ui, clock, ports).playLoop, (PlayLoop{true, 1, 1}));
}

}  // namespace
