#include "model/song_edits.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/omb_data.h"

void setFirstNoteTime(OMBData& song, int tick) {
    const std::int64_t shift = std::int64_t{tick} - song.firstNoteTime();
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        Track& elements = song.track(t);
        // Elements pushed before the start all land at 0, where they must sort afresh; the
        // rest keep their order, so each goes back right behind the one before.
        std::vector<std::unique_ptr<Element>> moved;
        while (!elements.empty()) {
            moved.push_back(elements.removeAt(elements.count() - 1));
        }
        int hint = 0;
        for (auto element = moved.rbegin(); element != moved.rend(); ++element) {
            const std::int64_t time = (*element)->time() + shift;
            (*element)->setTime(static_cast<int>(std::clamp<std::int64_t>(time, 0, INT_MAX)));
            elements.addWithHint(std::move(*element), hint);
        }
    }
    song.changed = true;
}

void deleteTrack(OMBData& song, int track) {
    song.track(track).clear();
    song.program[track] = OMBData::kNoProgram;
    song.changed = true;
}
