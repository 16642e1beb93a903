#include "model/song_length.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "model/omb_data.h"

namespace {

// The tick where the song's last element ends.
int songEnd(const OMBData& song) {
    int end = 0;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        if (track.empty()) {
            continue;
        }
        const Element& last = *track.at(track.count() - 1);
        const int duration = last.isNote() ? static_cast<const Note&>(last).duration() : 0;
        end = std::max(end, last.time() + duration);
    }
    return end;
}

// Minutes that `ticks` take at `bpm`; a tempo or division of 0 plays no time at all rather
// than forever.
double minutesOf(double ticks, double bpm, int division) {
    if (bpm <= 0 || division <= 0) {
        return 0;
    }
    return ticks / (static_cast<double>(bpm) * division);
}

// Until the first tempo event the song plays at the song-wide tempo, as a song without any
// does throughout.
double songMinutes(const OMBData& song) {
    std::vector<std::pair<int, double>> tempos;  // (tick, bpm), in time order
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            if (!element.isEvent() ||
                !static_cast<const Event&>(element).isMeta(Event::kMetaTempo)) {
                continue;
            }
            // A tempo of 0 would stop the song, so playback keeps the tempo in force; a file's
            // tempo below one bpm shows as 0 but plays at its own speed.
            const Event& tempo = static_cast<const Event&>(element);
            if (tempo.data2() > 0) {
                tempos.emplace_back(tempo.time(), tempo.data2());
            } else if (tempo.usPerQuarter() != 0) {
                tempos.emplace_back(tempo.time(), 60'000'000.0 / tempo.usPerQuarter());
            }
        }
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    if (tempos.empty() || tempos.front().first > 0) {
        tempos.emplace(tempos.begin(), 0, song.timing().defaultTempo);
    }
    double minutes = 0;
    for (std::size_t i = 0; i + 1 < tempos.size(); ++i) {
        minutes +=
            minutesOf(tempos[i + 1].first - tempos[i].first, tempos[i].second, song.timeDivision);
    }
    minutes +=
        minutesOf(songEnd(song) - tempos.back().first, tempos.back().second, song.timeDivision);
    return minutes;
}

}  // namespace

double songLengthSeconds(const OMBData& song) {
    return songMinutes(song) * 60;
}

std::string songLengthText(const OMBData& song) {
    const double minutes = songMinutes(song);
    const int wholeMinutes = static_cast<int>(minutes);
    const int hundredths = static_cast<int>(minutes * 100 - wholeMinutes * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", wholeMinutes, hundredths * 60 / 100);
    return text;
}
