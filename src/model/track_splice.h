#pragma once

#include <memory>
#include <vector>

#include "model/abstract_array.h"
#include "model/song_change.h"

class Element;
class Track;

// Elements taken out of one track and elements put into it by one edit, by their places: a
// taken element by its index in the track before the edit, a put element by its index after
// it. Both lists are filled in ascending order. The change holds the taken elements while the
// edit stands and the put ones while it is undone; either way round costs one pass over the
// track, so a one-note edit costs one move of the track's tail.
class TrackSplice : public SongChange {
public:
    explicit TrackSplice(int track) : track_(track) {}

    int track() const { return track_; }
    bool empty() const { return taken_.empty() && put_.empty(); }

    // The element was at originalIndex before the edit and is out of the track now.
    void taken(int originalIndex, std::unique_ptr<Element> element);
    // The element the edit put into the track stands at finalIndex now.
    void put(int finalIndex);
    // Every element of elements that is not in before (the track's elements before the edit,
    // in order) was put there by the edit; the edit took nothing.
    void putSince(const Track& elements, const std::vector<const Element*>& before);

    void undo(OMBData& song) override;
    void redo(OMBData& song) override;
    std::size_t sizeInBytes() const override;

private:
    static std::vector<int> indexesOf(const std::vector<AbstractArray::Placed>& list);
    static void takeInto(Track& elements, std::vector<AbstractArray::Placed>& list);
    static void placeFrom(Track& elements, std::vector<AbstractArray::Placed>& list);

    int track_;
    std::vector<AbstractArray::Placed> taken_;
    std::vector<AbstractArray::Placed> put_;
};
