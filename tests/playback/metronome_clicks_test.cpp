#include "playback/metronome_clicks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/song_timing.h"
#include "test_song.h"

namespace {

// (tick, accent) pairs, and the clicks' times in microseconds after the origin.
using Clicks = std::vector<std::pair<int, bool>>;
using Offsets = std::vector<std::int64_t>;

void addMeter(OMBData& song, int track, int time, int beats, int unit) {
    addEvent(song, track, time, Event::kStatusMeta, Event::kMetaTimeSignature, beats, unit);
}

// Division 120, tempo 120 a minute: a quarter note is 120 ticks and half a second.
class MetronomeClicksTest : public ::testing::Test {
protected:
    MetronomeClicksTest() {
        song.timeDivision = 120;
        timing.defaultTempo = 120;
    }

    MetronomeClicks clicks(bool eighths = false, int originTick = 0, int countInBars = 0,
                           int soloTrack = -1, bool followTempo = true) const {
        return MetronomeClicks(song, soloTrack, eighths, followTempo, 120, originTick, countInBars);
    }
    // The clicks of schedule from tick `from` up to (not at) `to`.
    static Clicks between(const MetronomeClicks& schedule, int from, int to) {
        Clicks found;
        for (auto click = schedule.next(from); click.tick < to;
             click = schedule.next(click.tick + 1))
            found.emplace_back(click.tick, click.accent);
        return found;
    }
    static Offsets offsets(const MetronomeClicks& schedule, int from, int to) {
        Offsets found;
        for (const auto& [tick, accent] : between(schedule, from, to))
            found.push_back(schedule.offsetUs(tick));
        return found;
    }

    SongTiming timing;
    OMBData song{timing};
};

TEST_F(MetronomeClicksTest, ThreeFourClicksEveryQuarterAccentingEachBarsFirst) {
    song.timeSignature = {3, 4};
    EXPECT_EQ(
        between(clicks(), 0, 720),
        (Clicks{{0, true}, {120, false}, {240, false}, {360, true}, {480, false}, {600, false}}));
    EXPECT_EQ(offsets(clicks(), 0, 480), (Offsets{0, 500000, 1000000, 1500000}));
    // From inside a beat the next click is the following beat's, still on the bar's grid.
    EXPECT_EQ(between(clicks(), 130, 400), (Clicks{{240, false}, {360, true}}));
}

TEST_F(MetronomeClicksTest, SixEightClicksDottedQuartersOrEveryEighthWhenAsked) {
    song.timeSignature = {6, 8};
    EXPECT_EQ(between(clicks(), 0, 720),
              (Clicks{{0, true}, {180, false}, {360, true}, {540, false}}));
    EXPECT_EQ(between(clicks(true), 0, 420), (Clicks{{0, true},
                                                     {60, false},
                                                     {120, false},
                                                     {180, false},
                                                     {240, false},
                                                     {300, false},
                                                     {360, true}}));
    // 3/8 is a simple meter: it clicks its eighths either way.
    song.timeSignature = {3, 8};
    EXPECT_EQ(between(clicks(), 0, 200),
              (Clicks{{0, true}, {60, false}, {120, false}, {180, true}}));
    // A half-note beat.
    song.timeSignature = {2, 2};
    EXPECT_EQ(between(clicks(), 0, 720), (Clicks{{0, true}, {240, false}, {480, true}}));
}

TEST_F(MetronomeClicksTest, ClicksFollowATempoChangeOfThePlayingTracksOnly) {
    addTempo(song, 0, 240, 60);   // from the third beat a beat lasts a second
    addTempo(song, 3, 360, 240);  // a track that does not play when track 0 plays alone
    EXPECT_EQ(offsets(clicks(false, 0, 0, 0), 0, 600),
              (Offsets{0, 500000, 1000000, 2000000, 3000000}));
    EXPECT_EQ(offsets(clicks(), 0, 600), (Offsets{0, 500000, 1000000, 2000000, 2250000}));
    // A recording keeps the song-wide tempo whatever the events say.
    EXPECT_EQ(offsets(clicks(false, 0, 0, -1, false), 0, 600),
              (Offsets{0, 500000, 1000000, 1500000, 2000000}));
    // From an origin after the change, its tempo holds from the start.
    EXPECT_EQ(offsets(clicks(false, 240, 0, 0), 240, 480), (Offsets{0, 1000000}));
}

TEST_F(MetronomeClicksTest, AMeterChangeStartsABarOfTheNewMeter) {
    addMeter(song, 0, 0, 4, 4);
    addMeter(song, 1, 480, 3, 4);
    addMeter(song, 0, 900, 3, 4);   // the meter restated starts no bar
    addMeter(song, 0, 1300, 6, 8);  // off the beat: the new bar starts there
    EXPECT_EQ(between(clicks(), 0, 1500), (Clicks{{0, true},
                                                  {120, false},
                                                  {240, false},
                                                  {360, false},
                                                  {480, true},
                                                  {600, false},
                                                  {720, false},
                                                  {840, true},
                                                  {960, false},
                                                  {1080, false},
                                                  {1200, true},
                                                  {1300, true},
                                                  {1480, false}}));
}

TEST_F(MetronomeClicksTest, ACountInIsWholeBarsOfTheMeterAndTempoAtTheOrigin) {
    song.timeSignature = {4, 4};
    addMeter(song, 0, 480, 3, 4);
    addTempo(song, 0, 480, 60);
    const MetronomeClicks one = clicks(false, 480, 1);
    EXPECT_EQ(one.countInStart(), 120);
    EXPECT_EQ(between(one, one.countInStart(), 720),
              (Clicks{{120, true}, {240, false}, {360, false}, {480, true}, {600, false}}));
    EXPECT_EQ(one.offsetUs(one.countInStart()), -3000000);
    const MetronomeClicks two = clicks(false, 0, 2);
    EXPECT_EQ(two.countInStart(), -960);
    EXPECT_EQ(two.offsetUs(-960), -4000000);
    EXPECT_EQ(between(two, -960, 0).size(), 8u);
    EXPECT_EQ(clicks(false, 0, 0).countInStart(), 0);
    // Compound meters count in with their beats too.
    song.timeSignature = {6, 8};
    EXPECT_EQ(between(clicks(false, 0, 1), -360, 0), (Clicks{{-360, true}, {-180, false}}));
}

}  // namespace
