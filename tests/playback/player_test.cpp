#include "playback/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "playback/play_view.h"
#include "player_fixture.h"
#include "test_song.h"

namespace {

class RecordingView : public PlayView {
public:
    void turnPageTo(int tick) override { calls.push_back("page " + std::to_string(tick)); }
    void drawHighlight(const Note& note, int track) override {
        calls.push_back("note " + std::to_string(note.start()) + " T" + std::to_string(track));
    }
    void tempoChanged() override { calls.push_back("tempo"); }
    void refreshStatusBar() override { calls.push_back("status"); }
    std::vector<std::string> calls;
};

class PlayerTest : public PlayerFixture {
protected:
    // What went out after the opening's initial settings, and when.
    std::vector<Bytes> played() const {
        const auto all = ports_.sentBytes();
        return {all.begin() + std::min(kInitialSettings, all.size()), all.end()};
    }
    Times playedTimes() const {
        Times times;
        for (std::size_t i = kInitialSettings; i < ports_.sent.size(); ++i) {
            times.push_back(ports_.sent[i].timeUs);
        }
        return times;
    }
};

// At 120 quarter notes a minute and 120 ticks a quarter, a tick lasts 4166.67 us.

TEST_F(PlayerTest, LongGapIsWaitedForInPiecesOf240TicksOnTheAbsoluteSchedule) {
    addNote(song_, 0, 0, 60, 10);
    addNote(song_, 0, 1010, 62, 10);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    // The gap after the first note's end is waited for in pieces of 240 ticks (one second),
    // each timed from the song's start so that the waits do not drift.
    const Times pieces{1041667, 2041667, 3041667, 4041667};
    EXPECT_TRUE(std::includes(stepTimes_.begin(), stepTimes_.end(), pieces.begin(), pieces.end()));
    EXPECT_EQ(played(),
              (std::vector<Bytes>{{0x90, 60, 100}, {0x80, 60, 0}, {0x90, 62, 100}, {0x80, 62, 0}}));
    EXPECT_EQ(playedTimes(), (Times{1000, 41667, 4208333, 4250000}));
    EXPECT_FALSE(player_.playing());
}

TEST_F(PlayerTest, ChordGoesOutHighestFirstOneMillisecondApartOrAllAtOnceWhenExact) {
    for (const int key : {60, 64, 67, 72}) {
        addNote(song_, 0, 0, key, 120);
    }
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    const std::vector<Bytes> chord{{0x90, 72, 100}, {0x90, 67, 100}, {0x90, 64, 100},
                                   {0x90, 60, 100}, {0x80, 72, 0},   {0x80, 67, 0},
                                   {0x80, 64, 0},   {0x80, 60, 0}};
    EXPECT_EQ(played(), chord);
    EXPECT_EQ(playedTimes(), (Times{1000, 2000, 3000, 4000, 500000, 501000, 502000, 503000}));

    // A send that takes time does not push each later note of the chord later still: the
    // spacing counts from when the note before began to go out.
    player_.stopAll();
    ports_.sent.clear();
    ports_.onSend = [this] { clock_.advanceUs(40); };
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    std::uint64_t startUs = player_.startTimeUs();
    playToEnd();
    Times times = playedTimes();
    for (auto& time : times) {
        time -= startUs;
    }
    EXPECT_EQ(times, (Times{1000, 2000, 3000, 4000, 500000, 501000, 502000, 503000}));
    ports_.onSend = nullptr;

    // Exact pacing: every message at its own time, the opening ones too; a tempo event keeps
    // its place in the schedule.
    player_.stopAll();
    ports_.sent.clear();
    addTempo(song_, 1, 120, 60);
    addNote(song_, 1, 240, 48, 120);
    player_.setPacing(Player::Pacing::Exact);
    startUs = clock_.microseconds();
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    const std::vector<Bytes> exact = played();
    ASSERT_EQ(exact.size(), 10U);
    EXPECT_EQ(std::vector<Bytes>(exact.begin(), exact.begin() + 8), chord);
    times = playedTimes();
    for (auto& time : times) {
        time -= startUs;
    }
    EXPECT_EQ(times, (Times{0, 0, 0, 0, 500000, 500000, 500000, 500000, 1500000, 2500000}));
}

TEST_F(PlayerTest, TempoEventsChangeThePaceFromTheirTimeOnWithoutAJump) {
    addTempo(song_, 0, 120, 60);
    // Zero microseconds a quarter (a tempo past what three bytes can say) changes nothing.
    addTempo(song_, 0, 360, 70'000'000);
    addNote(song_, 1, 0, 60, 60);
    addNote(song_, 1, 240, 62, 60);
    addNote(song_, 1, 420, 64, 60);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    // From tick 120 on a tick lasts 8333.33 us.
    EXPECT_EQ(playedTimes(), (Times{1000, 250000, 1500000, 2000000, 3000000, 3500000}));
    EXPECT_EQ(timing_.defaultTempo, 60);
}

// A file's tempo of 465,172 us a quarter (128.98 bpm) shows as 128 but plays exactly: at 120
// ticks a quarter a tick lasts 3876.43 us, from the tempo message and from the tempo chase.
TEST_F(PlayerTest, FileTempoTimesTheTicksExactly) {
    auto tempo = std::make_unique<Event>(0, Event::kStatusMeta, std::span<const std::uint8_t>{},
                                         Event::kMetaTempo, 128, 0);
    tempo->setFileTempo(465'172);
    song_.track(0).add(std::move(tempo));
    timing_.defaultTempo = 128;
    for (int quarter = 0; quarter <= 100; ++quarter) {
        addNote(song_, 1, quarter * 120, 60, 60);
    }
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    const Times times = playedTimes();
    ASSERT_EQ(times.size(), 202u);
    for (int quarter = 1; quarter <= 100; ++quarter) {
        EXPECT_NEAR(static_cast<double>(times[2 * quarter]), quarter * 465'172.0, 1.0) << quarter;
    }
    EXPECT_NEAR(static_cast<double>(times[200]), 46'517'200.0, 1.0);
    EXPECT_EQ(timing_.defaultTempo, 128);

    // From bar 3 on, the tempo event lies before the buffer: the chase finds its exact value.
    player_.stopAll();
    ports_.sent.clear();
    ASSERT_TRUE(player_.play(song_, -1, 3, 2, false, nullptr));
    playToEnd();
    const Times fromBar3 = playedTimes();
    ASSERT_EQ(fromBar3.size(), 16u);
    EXPECT_NEAR(static_cast<double>(fromBar3[14] - fromBar3[2]), 6 * 465'172.0, 1.0);
}

TEST_F(PlayerTest, RestsAreSilentAndNoteOffsGoOutWithVelocityZero) {
    addNote(song_, 0, 0, 60, 10, Note::kRestVelocity);
    addNote(song_, 0, 0, 62, 10, 100);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    EXPECT_EQ(played(), (std::vector<Bytes>{{0x90, 62, 100}, {0x80, 62, 0}, {0x80, 60, 0}}));
}

TEST_F(PlayerTest, SystemMessagesAreSteppedOverAndSent) {
    const std::uint8_t identity[] = {0x7E, 0x7F, 0x06, 0x01, 0xF7};
    addEvent(song_, 0, 0, 0xF2, 1, 2);
    addEvent(song_, 0, 0, 0xF3, 5);
    addEvent(song_, 0, 0, 0xF8, 0);
    addEvent(song_, 0, 0, 0xF0, 0, 0, 5, identity);
    addNote(song_, 0, 10, 60, 10);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    EXPECT_EQ(played(), (std::vector<Bytes>{{0xF2, 1, 2},
                                            {0xF3, 5},
                                            {0xF8},
                                            {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},
                                            {0x90, 60, 100},
                                            {0x80, 60, 0}}));
}

TEST_F(PlayerTest, ChannelMessagesGoOutWithTheirOwnDataBytesAndTheSongStaysInStep) {
    // Pressure and program change carry one data byte, the others two: a byte too many or
    // too few would put every later message of the song out of step.
    addEvent(song_, 1, 0, 0xD1, 40);
    addEvent(song_, 1, 1, 0xC1, 5);
    addEvent(song_, 1, 2, 0xA1, 60, 30);
    addEvent(song_, 1, 3, 0xB1, 7, 90);
    addEvent(song_, 1, 4, 0xE1, 0, 64);
    addEvent(song_, 1, 5, 0xD1, 41);
    addNote(song_, 1, 10, 60, 10, 90, 1);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    EXPECT_EQ(played(), (std::vector<Bytes>{{0xD1, 40},
                                            {0xC1, 5},
                                            {0xA1, 60, 30},
                                            {0xB1, 7, 90},
                                            {0xE1, 0, 64},
                                            {0xD1, 41},
                                            {0x91, 60, 90},
                                            {0x81, 60, 0}}));
}

TEST_F(PlayerTest, PlaySoloSendsTheSoloTrackAlone) {
    addNote(song_, 0, 0, 60, 10);
    addNote(song_, 1, 0, 64, 10, 90, 1);
    ASSERT_TRUE(player_.playAll(song_, 1, false, nullptr));
    playToEnd();
    EXPECT_EQ(played(), (std::vector<Bytes>{{0x91, 64, 90}, {0x81, 64, 0}}));
}

TEST_F(PlayerTest, MutedTrackSendsNoNoteOnButItsControllersProgramsAndTempo) {
    addEvent(song_, 0, 0, 0xC0, 5);
    addEvent(song_, 0, 0, 0xB0, 7, 90);
    addNote(song_, 0, 0, 60, 10);
    addNote(song_, 1, 0, 64, 10, 90, 1);
    addTempo(song_, 0, 5, 60);
    addEvent(song_, 0, 5, 0xE0, 0, 70);
    TrackMix mix;
    mix.setMuted(0, true);
    player_.setTrackMix(mix);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    // The muted note's note-off still goes out: had the note been sounding when its track was
    // muted, it would otherwise hang.
    // The program goes out twice: chased at the start, then from the song.
    EXPECT_EQ(played(), (std::vector<Bytes>{{0xC0, 5},
                                            {0xC0, 5},
                                            {0xB0, 7, 90},
                                            {0x91, 64, 90},
                                            {0xE0, 0, 70},
                                            {0x81, 64, 0},
                                            {0x80, 60, 0}}));
    EXPECT_EQ(timing_.defaultTempo, 60) << "the muted track's tempo event played";
}

TEST_F(PlayerTest, SoloedTracksAloneSoundAndTheMixMayChangeMidPlay) {
    for (const int start : {0, 240, 480}) {
        addNote(song_, 0, start, 60, 10);
        addNote(song_, 1, start, 64, 10, 90, 1);
        addNote(song_, 2, start, 67, 10, 80, 2);
    }
    TrackMix mix;
    mix.setMuted(1, true);
    mix.setMuted(2, true);
    mix.setSoloed(1, true);
    player_.setTrackMix(mix);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    stepUntilSent({0x91, 64, 90});
    // Solo outweighs the track's own mute; the others are silent.
    const auto noteOns = [this] {
        std::vector<Bytes> ons;
        for (const Bytes& message : played()) {
            if ((message[0] & 0xF0) == 0x90) {
                ons.push_back(message);
            }
        }
        return ons;
    };
    EXPECT_EQ(noteOns(), (std::vector<Bytes>{{0x91, 64, 90}}));
    // Solo lifted: the mutes hold again, track 1 is heard from its next note on.
    mix.setSoloed(1, false);
    player_.setTrackMix(mix);
    stepUntilSent({0x90, 60, 100});
    mix.setMuted(2, false);
    player_.setTrackMix(mix);
    playToEnd();
    EXPECT_EQ(noteOns(), (std::vector<Bytes>{{0x91, 64, 90},
                                             {0x90, 60, 100},
                                             {0x92, 67, 80},
                                             {0x90, 60, 100},
                                             {0x92, 67, 80},
                                             {0x90, 60, 100}}));
}

TEST(TrackMixTest, TrackListsReadAsUsersWriteThemAndPassOverWhatIsNoTrack) {
    EXPECT_EQ(TrackMix::parseTrackList("1 5,16"), 0x8011);
    EXPECT_EQ(TrackMix::parseTrackList(" 2,,2  x 0 17 -3 100 3a 07"), 0x0042);
    EXPECT_EQ(TrackMix::parseTrackList("4294967298 18446744073709551619 001"), 0x0001)
        << "numbers that overflow are no track";
    EXPECT_EQ(TrackMix::parseTrackList(""), 0);
    EXPECT_EQ(TrackMix::trackListText(0x8011), "1 5 16");
    EXPECT_EQ(TrackMix::trackListText(0), "");
    const TrackMix stem = TrackMix::only(0x0004);
    EXPECT_TRUE(stem.audible(2));
    EXPECT_FALSE(stem.audible(0));
    EXPECT_FALSE(stem.audible(15));
}

TEST_F(PlayerTest, FailedStartsSayNothingToPlay) {
    EXPECT_FALSE(player_.playAll(song_, -1, false, nullptr));
    addNote(song_, 0, 0, 60, 10);
    EXPECT_FALSE(player_.play(song_, -1, 2, 4, false, nullptr));
    EXPECT_TRUE(ports_.opened.empty());
    EXPECT_EQ(ui_.notices,
              (std::vector<std::string>{"Warning no initial voice settings", "Nothing to Play",
                                        "Warning no initial voice settings", "Nothing to Play"}));

    ui_.notices.clear();
    song_.timeDivision = 0;
    EXPECT_FALSE(player_.playAll(song_, -1, false, nullptr));
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Invalid tempo or time division"});
    EXPECT_FALSE(device_.outputOpen());
    EXPECT_TRUE(clock_.pendingTimers().empty());

    song_.timeDivision = 120;
    ports_.refuseOpen = true;
    EXPECT_FALSE(player_.playAll(song_, -1, false, nullptr));
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{"Invalid tempo or time division",
                                                     "Can not open MIDI device",
                                                     "Could not initialize the output device"}));
    EXPECT_EQ(ui_.notices.back(), "Nothing to Play");
}

TEST_F(PlayerTest, StopSilencesAtOnceAndLateStepsDoNothing) {
    addNote(song_, 0, 0, 60, 480);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    stepUntilSent({0x90, 60, 100});
    const int lateTimer = clock_.pendingTimers().front().timerId;
    EXPECT_FALSE(player_.PlayTick(0, true));
    EXPECT_TRUE(clock_.pendingTimers().empty());
    EXPECT_FALSE(player_.PlayTick(lateTimer, false));
    ports_.sent.clear();
    player_.stopAll();
    EXPECT_EQ(ports_.sentBytes().front(), (Bytes{0x80, 60, 0}));
    EXPECT_EQ(ports_.sentBytes().back(), (Bytes{0xBF, 123, 0}));
    EXPECT_FALSE(player_.resume(1, false));
}

TEST_F(PlayerTest, ResumeStartsAtTheBarShownWithTempoAndProgramsChased) {
    // 480 ticks a bar; each bar opens with a note of its own key.
    addTempo(song_, 0, 0, 100);
    addTempo(song_, 0, 960, 150);
    addEvent(song_, 1, 0, 0xC1, 5);
    addEvent(song_, 1, 480, 0xC1, 7);
    const int keys[] = {60, 62, 64, 65};
    for (int bar = 0; bar < 4; ++bar) {
        addNote(song_, 1, bar * 480, keys[bar], 100, 100, 1);
    }
    const auto resumeAt = [&](int bar, const Bytes& firstNote) {
        ports_.sent.clear();
        ASSERT_TRUE(player_.resume(bar, false));
        EXPECT_EQ(played(), (std::vector<Bytes>{{0xC1, 5}, {0xC1, 7}}));
        stepUntilSent(firstNote);
        EXPECT_EQ(played().size(), 3u);
        EXPECT_FALSE(player_.PlayTick(0, true));
        player_.pause();
    };

    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    stepUntilSent({0x91, 64, 100});
    EXPECT_FALSE(player_.PlayTick(0, true));
    player_.pause();
    resumeAt(2, {0x91, 62, 100});
    EXPECT_EQ(timing_.defaultTempo, 100);
    ports_.sent.clear();
    EXPECT_FALSE(player_.resume(5, false));
    EXPECT_TRUE(ports_.sent.empty());

    // Played from bar 3, the buffer's bar 1 is the song's bar 3.
    player_.stopAll();
    timing_.defaultTempo = 120;
    ASSERT_TRUE(player_.play(song_, -1, 3, 2, false, nullptr));
    stepUntilSent({0x91, 64, 100});
    EXPECT_FALSE(player_.PlayTick(0, true));
    player_.pause();
    resumeAt(4, {0x91, 65, 100});
    EXPECT_EQ(timing_.defaultTempo, 150);
    EXPECT_FALSE(player_.resume(2, false));
}

TEST_F(PlayerTest, AnimationHighlightsEachNoteAndTurnsPagesEvenWithoutOutput) {
    device_.selectOutputByName(MidiDevice::kNone, -1);
    addNote(song_, 0, 0, 60, 10);
    addEvent(song_, 0, 10, 0xB0, 7, 90);
    addNote(song_, 0, 20, 62, 10);
    addTempo(song_, 0, 100, 90);
    addNote(song_, 2, 20, 64, 10);
    addNote(song_, 2, 500, 60, 10, Note::kRestVelocity);
    RecordingView view;
    ASSERT_TRUE(player_.playAll(song_, -1, true, &view));
    playToEnd();
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"status", "note 0 T0", "page 20", "note 20 T2",
                                        "note 20 T0", "tempo", "page 500", "note 500 T2"}));
    EXPECT_TRUE(ports_.sent.empty());
    EXPECT_EQ(ui_.notices,
              std::vector<std::string>{"No Play driver selected, use configuration menu"});
}

}  // namespace
