#include "app/recorded_edits.h"

#include <vector>

#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/song_values.h"
#include "model/track_splice.h"

UndoStep& RecordedEdits::step(int tick) {
    if (!step_) {
        step_ = std::make_unique<UndoStep>(name_, tick);
    }
    return *step_;
}

void RecordedEdits::remove(int track, int index) {
    std::unique_ptr<Element> element = song_.track(track).removeAt(index);
    const int tick = element->time();
    auto splice = std::make_unique<TrackSplice>(track);
    splice->taken(index, std::move(element));
    step(tick).add(std::move(splice));
}

int RecordedEdits::insert(int track, std::unique_ptr<Element> element) {
    const int tick = element->time();
    const int index = song_.track(track).add(std::move(element));
    auto splice = std::make_unique<TrackSplice>(track);
    splice->put(index);
    step(tick).add(std::move(splice));
    return index;
}

void RecordedEdits::replace(int track, int index, std::unique_ptr<Element> element) {
    Track& elements = song_.track(track);
    const int tick = element->time();
    std::unique_ptr<Element> old = elements.removeAt(index);
    std::vector<AbstractArray::Placed> placed;
    placed.push_back({index, std::move(element)});
    elements.placeEach(placed);
    auto splice = std::make_unique<TrackSplice>(track);
    splice->taken(index, std::move(old));
    splice->put(index);
    step(tick).add(std::move(splice));
}

void RecordedEdits::valuesChanged(const SongValues& before) {
    if (before != SongValues::of(song_)) {
        step(UndoStep::kNowhere).add(std::make_unique<SongValuesChange>(before, song_));
    }
}

void RecordedEdits::respellNotes() {
    ::respellNotes(song_, kEveryTrack, &step(UndoStep::kNowhere));
}
