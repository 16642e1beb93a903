#include "app/song_summary.h"

#include <cstdio>

#include "model/omb_data.h"
#include "model/song_length.h"
#include "playback/voice_table.h"

SongSummary SongSummary::of(const OMBData& song, const VoiceTable& voices) {
    SongSummary summary;
    summary.format = song.format;
    summary.length = songLengthText(song);
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        if (track.empty()) {
            continue;
        }
        char line[64];
        std::snprintf(line, sizeof line, "%2d\t%5s\t%14s", t + 1,
                      std::to_string(track.count()).c_str(), voices.name(song.program[t]).c_str());
        summary.lines.push_back({t, line});
    }
    return summary;
}
