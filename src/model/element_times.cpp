#include "model/element_times.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "model/omb_data.h"

namespace {

std::vector<const Element*> elementsOf(const Track& track) {
    std::vector<const Element*> elements(static_cast<std::size_t>(track.count()));
    for (int i = 0; i < track.count(); ++i) {
        elements[i] = track.at(i);
    }
    return elements;
}

// Gives the track's elements their times (times[i] to the element that ends up at i) and
// their order: from maps each index after the edit to its index before it, and is empty when
// the edit kept the order.
void reorder(Track& track, const std::vector<int>& from, const std::vector<int>& times,
             bool fromIsNewToOld) {
    if (from.empty()) {
        for (int i = 0; i < track.count(); ++i) {
            track.at(i)->setTime(times[static_cast<std::size_t>(i)]);
        }
        return;
    }
    std::vector<std::unique_ptr<Object>> taken = track.takeAll();
    std::vector<AbstractArray::Placed> placed(taken.size());
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const std::size_t to = fromIsNewToOld ? static_cast<std::size_t>(from[i]) : i;
        const std::size_t source = fromIsNewToOld ? i : static_cast<std::size_t>(from[i]);
        placed[to] = {static_cast<int>(to), std::move(taken[source])};
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        static_cast<Element*>(placed[i].object.get())->setTime(times[i]);
    }
    track.placeEach(placed);
}

}  // namespace

ElementTimes::ElementTimes(const OMBData& song) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        TrackTimes& times = tracks_[t];
        times.before = elementsOf(song.track(t));
        times.oldTimes.reserve(times.before.size());
        for (const Element* element : times.before) {
            times.oldTimes.push_back(element->time());
        }
    }
}

void ElementTimes::finish(const OMBData& song) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        finishTrack(tracks_[t], elementsOf(song.track(t)));
    }
}

void ElementTimes::finishTrack(TrackTimes& times, const std::vector<const Element*>& after) {
    times.newTimes.reserve(after.size());
    for (const Element* element : after) {
        times.newTimes.push_back(element->time());
    }
    // Most edits keep every element in its place; only those that pile elements up at tick 0
    // change the order, and only then is it looked up.
    if (after == times.before) {
        times.before = {};
        return;
    }
    std::vector<std::pair<const Element*, int>> byAddress(times.before.size());
    for (std::size_t i = 0; i < times.before.size(); ++i) {
        byAddress[i] = {times.before[i], static_cast<int>(i)};
    }
    std::sort(byAddress.begin(), byAddress.end());
    times.oldIndex.reserve(after.size());
    for (const Element* element : after) {
        const auto found = std::lower_bound(byAddress.begin(), byAddress.end(),
                                            std::pair<const Element*, int>{element, -1});
        times.oldIndex.push_back(found->second);
    }
    times.before = {};
}

void ElementTimes::undo(OMBData& song) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        reorder(song.track(t), tracks_[t].oldIndex, tracks_[t].oldTimes, true);
    }
}

void ElementTimes::redo(OMBData& song) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        reorder(song.track(t), tracks_[t].oldIndex, tracks_[t].newTimes, false);
    }
}

std::size_t ElementTimes::sizeInBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const TrackTimes& times : tracks_) {
        bytes +=
            (times.oldTimes.capacity() + times.newTimes.capacity() + times.oldIndex.capacity()) *
            sizeof(int);
    }
    return bytes;
}
