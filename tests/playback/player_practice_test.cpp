#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "playback/play_view.h"
#include "player_fixture.h"
#include "test_song.h"

namespace {

class PageView : public PlayView {
public:
    void turnPageTo(int tick) override { pages.push_back(tick); }
    void drawHighlight(const Note&, int) override {}
    void tempoChanged() override {}
    void refreshStatusBar() override {}
    std::vector<int> pages;
};

// The practice aids, played through the capture ports on the manual clock.
class PlayerPracticeTest : public PlayerFixture {
protected:
    // The times, counted from the play's start, at which message went out after the opening.
    Times timesOf(const Bytes& message) const {
        Times times;
        for (std::size_t i = kInitialSettings; i < ports_.sent.size(); ++i) {
            if (ports_.sent[i].bytes == message) {
                times.push_back(ports_.sent[i].timeUs - player_.startTimeUs());
            }
        }
        return times;
    }
    Times playedTimes() const {
        Times times;
        for (std::size_t i = kInitialSettings; i < ports_.sent.size(); ++i) {
            times.push_back(ports_.sent[i].timeUs - player_.startTimeUs());
        }
        return times;
    }
    void restart() {
        player_.stopAll();
        ports_.sent.clear();
    }
};

// At 120 quarter notes a minute and 120 ticks a quarter, a tick lasts 4166.67 us; at 60 twice
// that.

TEST_F(PlayerPracticeTest, SpeedStretchesTheScheduleAndFollowsTempoChangesScaled) {
    addNote(song_, 1, 120, 60, 60);
    addNote(song_, 1, 240, 62, 60);
    addTempo(song_, 0, 330, 60);
    addNote(song_, 1, 360, 64, 60);
    addNote(song_, 1, 480, 65, 60);
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    playToEnd();
    const Times normal = playedTimes();
    EXPECT_EQ(normal,
              (Times{500000, 750000, 1000000, 1250000, 1625000, 2125000, 2625000, 3125000}));

    for (const int percent : {50, 25}) {
        restart();
        timing_.defaultTempo = 120;
        player_.setSpeedPercent(percent);
        ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
        playToEnd();
        Times scaled;
        for (const std::uint64_t time : normal) {
            scaled.push_back(time * 100 / percent);
        }
        EXPECT_EQ(playedTimes(), scaled) << percent << " %";
        EXPECT_EQ(timing_.defaultTempo, 60) << "the song's own tempo is what the status bar shows";
    }

    // Below and above the range the speed is held to it.
    player_.setSpeedPercent(10);
    EXPECT_EQ(player_.speedPercent(), Player::kSlowestSpeedPercent);
    player_.setSpeedPercent(1000);
    EXPECT_EQ(player_.speedPercent(), Player::kFastestSpeedPercent);
}

TEST_F(PlayerPracticeTest, SpeedChangedMidPlayKeepsWhatIsScheduledAndPacesTheRest) {
    for (int quarter = 1; quarter <= 4; ++quarter) {
        addNote(song_, 1, quarter * 120, 60 + quarter, 60);
    }
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    stepUntilSent({0x90, 62, 100});
    // The note-off of 62 is already scheduled at 750000 us; from its tick on a tick lasts half
    // as long.
    player_.setSpeedPercent(200);
    playToEnd();
    EXPECT_EQ(playedTimes(),
              (Times{500000, 750000, 1000000, 1250000, 1375000, 1500000, 1625000, 1750000}));
}

// Bars are 480 ticks (4/4 at 120 ticks a quarter). The loop here is bars 2-3, ticks 480-1439.

TEST_F(PlayerPracticeTest, LoopPassesStartExactlyOneRangeApartAndStartAsAPlayDoes) {
    // 465,172 us a quarter at 75 %: a tick lasts 5168.58 us, the range 4,961,834.67 us.
    auto tempo = std::make_unique<Event>(0, Event::kStatusMeta, std::span<const std::uint8_t>{},
                                         Event::kMetaTempo, 128, 0);
    tempo->setFileTempo(465'172);
    song_.track(0).add(std::move(tempo));
    timing_.defaultTempo = 128;
    addEvent(song_, 1, 0, 0xC0, 10);
    addEvent(song_, 1, 0, 0xB0, 7, 50);
    addNote(song_, 1, 0, 55, 60);
    addNote(song_, 1, 480, 60, 60);
    addEvent(song_, 1, 720, 0xC0, 40);
    addEvent(song_, 1, 800, 0xB0, 7, 90);
    // Crosses the range's end: released there, not at its own end.
    addNote(song_, 1, 1320, 64, 240);
    // Ends with the range: released with the rest as the next pass starts, not a millisecond
    // before it.
    addNote(song_, 1, 1380, 62, 60);
    addNote(song_, 1, 1440, 67, 60);
    player_.setSpeedPercent(75);
    player_.setLoop({true, 2, 3});
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    while (timesOf({0x90, 60, 100}).size() < 101) {
        ASSERT_TRUE(step());
    }
    const double rangeUs = 960 * 465'172.0 / 120 * 100 / 75;
    const Times starts = timesOf({0x90, 60, 100});
    const Times releases = timesOf({0x80, 64, 0});
    const Times endingWithTheRange = timesOf({0x80, 62, 0});
    const Times programs = timesOf({0xC0, 10});
    const Times volumes = timesOf({0xB0, 7, 50});
    ASSERT_EQ(releases.size(), 100u);
    ASSERT_EQ(endingWithTheRange.size(), 100u);
    ASSERT_EQ(programs.size(), 101u) << "chased at the start and at each pass";
    ASSERT_EQ(volumes.size(), 101u);
    EXPECT_EQ(timesOf({0xC0, 40}).size(), 100u);
    EXPECT_TRUE(timesOf({0x90, 55, 100}).empty()) << "bar 1 lies before the range";
    EXPECT_TRUE(timesOf({0x90, 67, 100}).empty()) << "bar 4 lies after it";
    // The first note of the range goes out 1 ms after each pass starts, as at a play's start.
    for (std::size_t pass = 0; pass <= 100; ++pass) {
        const double passStartUs = static_cast<double>(pass) * rangeUs;
        EXPECT_NEAR(static_cast<double>(starts[pass]), passStartUs + 1000, 1.0) << pass;
        EXPECT_NEAR(static_cast<double>(programs[pass]), passStartUs, 1.0) << pass;
        EXPECT_EQ(volumes[pass], programs[pass]);
        if (pass > 0) {
            EXPECT_EQ(releases[pass - 1], programs[pass]) << "released as the next pass starts";
            EXPECT_EQ(endingWithTheRange[pass - 1], programs[pass]);
        }
    }
    // Each pass start sends the opening's initial settings again, then the chase.
    const auto at = std::find_if(ports_.sent.begin() + kInitialSettings, ports_.sent.end(),
                                 [&](const auto& message) {
                                     return message.bytes == Bytes{0x80, 64, 0};
                                 });
    ASSERT_NE(at, ports_.sent.end());
    EXPECT_EQ((at + 1)->bytes, (Bytes{0xC0, 0}));
    EXPECT_EQ((at + kInitialSettings + 1)->bytes, (Bytes{0xB0, 7, 50}));
    EXPECT_EQ((at + kInitialSettings + 2)->bytes, (Bytes{0xC0, 10}));
    EXPECT_TRUE(player_.playing());
    EXPECT_FALSE(player_.PlayTick(0, true)) << "Stop ends a loop as any play";
    // Closing turns off what sounds: nothing, as the last pass's end released it.
    player_.stopAll();
    EXPECT_EQ(timesOf({0x80, 64, 0}).size(), 100u);
}

TEST_F(PlayerPracticeTest, LoopChasesTheTempoOfTheRangeStartAndEndsWhenTurnedOff) {
    // Bar 1: a second at 120, then from tick 240 a tick lasts twice as long: 3 s a pass.
    addTempo(song_, 0, 240, 60);
    addNote(song_, 1, 0, 60, 60);
    addNote(song_, 1, 360, 62, 60);
    addNote(song_, 1, 480, 64, 60);
    player_.setLoop({true, 1, 1});
    PageView view;
    // Play plays the range too, not the page's bars.
    ASSERT_TRUE(player_.play(song_, -1, 5, 4, true, &view));
    while (timesOf({0x90, 62, 100}).size() < 2) {
        ASSERT_TRUE(step());
    }
    EXPECT_EQ(timesOf({0x90, 60, 100}), (Times{1000, 3001000}));
    EXPECT_EQ(timesOf({0x90, 62, 100}), (Times{2000000, 5000000}));
    EXPECT_EQ(timing_.defaultTempo, 60);
    // With Animate the page goes back to the range's start at each pass.
    EXPECT_EQ(view.pages, (std::vector<int>{360, 0, 360}));

    player_.setLoop({false, 1, 1});
    // Bounded: a loop that did not end would step for ever.
    for (int steps = 0; steps < 100 && step(); ++steps) {
    }
    EXPECT_EQ(timesOf({0x80, 62, 0}), (Times{2500000, 5500000}));
    EXPECT_EQ(clock_.microseconds() - player_.startTimeUs(), 6000000u)
        << "the play ends at the range's end";
    EXPECT_FALSE(player_.playing());
    EXPECT_TRUE(timesOf({0x90, 64, 100}).empty());
}

TEST_F(PlayerPracticeTest, LoopResumedAtABarInItsRangePlaysOnToTheRangesEndAndAround) {
    for (const int start : {0, 480, 600, 840}) {
        addNote(song_, 1, start, 60 + start / 120, 60);
    }
    player_.setLoop({true, 1, 2});
    ASSERT_TRUE(player_.playAll(song_, -1, false, nullptr));
    stepUntilSent({0x90, 64, 100});
    player_.pause();
    ports_.sent.clear();
    // Bar 2's first note follows the wait that came before it in the buffer (420 ticks).
    ASSERT_TRUE(player_.resume(2, false));
    while (timesOf({0x90, 60, 100}).empty()) {
        ASSERT_TRUE(step());
    }
    EXPECT_EQ(timesOf({0x90, 64, 100}), (Times{1750000}));
    EXPECT_EQ(timesOf({0x90, 65, 100}), (Times{2250000}));
    EXPECT_EQ(timesOf({0x90, 67, 100}), (Times{3250000}));
    EXPECT_EQ(timesOf({0x90, 60, 100}), (Times{3751000})) << "the next pass, at the range's end";
}

}  // namespace
