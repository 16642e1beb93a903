#include "model/song_length.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "model/omb_data.h"

namespace {

struct LengthCase {
    const char* what;
    int division;
    std::vector<std::pair<int, int>> tempos;  // (tick, bpm)
    int endTick;
    const char* length;
};

TEST(SongLengthTest, TempoEventsSetHowLongEachStretchPlays) {
    const LengthCase cases[] = {
        // 2 seconds are 3.33 hundredths of a minute: 3 hundredths, 1 second.
        {"two seconds", 120, {{0, 120}}, 480, "0:01"},
        {"a minute and a half", 120, {{0, 120}}, 21600, "1:30"},
        {"2.999 minutes", 120, {{0, 100}}, 35988, "2:59"},
        {"halved tempo halfway", 120, {{0, 120}, {14400, 60}}, 28800, "3:00"},
        {"tempo events out of track order", 120, {{14400, 60}, {0, 120}}, 28800, "3:00"},
        // The song-wide tempo is 120: the first minute plays at it.
        {"before the first tempo event", 120, {{14400, 60}}, 28800, "3:00"},
        {"no tempo event", 240, {}, 28800, "1:00"},
        {"empty song", 120, {}, 0, "0:00"},
        // A tempo of 0 stops nothing: playback keeps the tempo in force.
        {"the only tempo event at 0 bpm", 120, {{0, 0}}, 21600, "1:30"},
        {"a change to 0 bpm", 120, {{0, 60}, {7200, 0}}, 14400, "2:00"},
    };
    for (const LengthCase& c : cases) {
        SongTiming timing;
        OMBData song(timing);
        song.timeDivision = c.division;
        for (std::size_t i = 0; i < c.tempos.size(); ++i) {
            song.track(static_cast<int>(i))
                .add(std::make_unique<Event>(c.tempos[i].first, Event::kStatusMeta,
                                             std::span<const std::uint8_t>{}, Event::kMetaTempo,
                                             c.tempos[i].second, 0));
        }
        if (c.endTick > 0) {
            song.track(9).add(std::make_unique<Note>(c.endTick - 100, 80, 100, 60, 0, 0));
        }
        EXPECT_EQ(songLengthText(song), c.length) << c.what;
    }
}

}  // namespace
