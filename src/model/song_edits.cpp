#include "model/song_edits.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/element_times.h"
#include "model/omb_data.h"
#include "model/song_values.h"
#include "model/track_splice.h"
#include "model/undo_step.h"

void setFirstNoteTime(OMBData& song, int tick, UndoStep* record) {
    auto times = record != nullptr ? std::make_unique<ElementTimes>(song) : nullptr;
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
    if (times) {
        times->finish(song);
        record->add(std::move(times));
    }
    song.changed = true;
}

void deleteTrack(OMBData& song, int track, UndoStep* record) {
    std::vector<std::unique_ptr<Object>> taken = song.track(track).takeAll();
    const SongValues before = SongValues::of(song);
    song.program[track] = OMBData::kNoProgram;
    song.changed = true;
    if (record == nullptr) {
        return;
    }
    // The elements wait in the record rather than being destroyed.
    auto splice = std::make_unique<TrackSplice>(track);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        splice->taken(static_cast<int>(i),
                      std::unique_ptr<Element>(static_cast<Element*>(taken[i].release())));
    }
    record->add(std::move(splice));
    record->add(std::make_unique<SongValuesChange>(before, song));
}
