#include "model/track_splice.h"

#include <utility>

#include "model/omb_data.h"

void TrackSplice::taken(int originalIndex, std::unique_ptr<Element> element) {
    taken_.push_back({originalIndex, std::move(element)});
}

void TrackSplice::put(int finalIndex) {
    put_.push_back({finalIndex, nullptr});
}

void TrackSplice::putSince(const Track& elements, const std::vector<const Element*>& before) {
    std::size_t kept = 0;
    for (int i = 0; i < elements.count(); ++i) {
        if (kept < before.size() && elements.at(i) == before[kept]) {
            ++kept;
        } else {
            put(i);
        }
    }
}

std::vector<int> TrackSplice::indexesOf(const std::vector<AbstractArray::Placed>& list) {
    std::vector<int> indexes;
    indexes.reserve(list.size());
    for (const auto& slot : list) {
        indexes.push_back(slot.index);
    }
    return indexes;
}

void TrackSplice::takeInto(Track& elements, std::vector<AbstractArray::Placed>& list) {
    std::vector<std::unique_ptr<Object>> out = elements.takeEach(indexesOf(list));
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].object = std::move(out[i]);
    }
}

void TrackSplice::placeFrom(Track& elements, std::vector<AbstractArray::Placed>& list) {
    // The track grew to hold these elements once already, so it has the slots.
    elements.placeEach(list);
}

void TrackSplice::undo(OMBData& song) {
    Track& elements = song.track(track_);
    takeInto(elements, put_);
    placeFrom(elements, taken_);
}

void TrackSplice::redo(OMBData& song) {
    Track& elements = song.track(track_);
    takeInto(elements, taken_);
    placeFrom(elements, put_);
}

std::size_t TrackSplice::sizeInBytes() const {
    // A put element counts whether it stands in the track or is held here, so the size stays
    // the same whichever way the change was last applied; while it stands in the track its
    // size is taken as an event's without a block.
    std::size_t bytes =
        sizeof(*this) + (taken_.capacity() + put_.capacity()) * sizeof(AbstractArray::Placed);
    const auto elementBytes = [](const Object* object) {
        if (object == nullptr) {
            return sizeof(Event);
        }
        const auto* element = static_cast<const Element*>(object);
        return element->isNote()
                   ? sizeof(Note)
                   : sizeof(Event) + static_cast<const Event*>(element)->data().size();
    };
    for (const auto& slot : taken_) {
        bytes += elementBytes(slot.object.get());
    }
    for (const auto& slot : put_) {
        bytes += elementBytes(slot.object.get());
    }
    return bytes;
}
