#pragma once

#include <string>
#include <vector>

class OMBData;
class VoiceTable;

// What the Song Summary shows of a song: its format, how long it plays, and one line per
// track that holds anything.
struct SongSummary {
    struct TrackLine {
        int track;         // 0-15
        std::string text;  // number 1-16, element count and voice name, tab-separated
    };

    static SongSummary of(const OMBData& song, const VoiceTable& voices);

    int format = 1;
    std::string length;  // "minutes:seconds"
    std::vector<TrackLine> lines;
};
