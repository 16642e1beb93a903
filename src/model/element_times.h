#pragma once

#include <array>
#include <vector>

#include "model/song_change.h"

class Element;
class OMBData;

// An edit that gave elements of the song new times and so perhaps a new order in their
// tracks, keeping every element (Set First Note). Made before the edit; finish() after it
// records the new order. Eight bytes an element, twelve in a track whose order changed.
class ElementTimes : public SongChange {
public:
    explicit ElementTimes(const OMBData& song);

    void finish(const OMBData& song);

    void undo(OMBData& song) override;
    void redo(OMBData& song) override;
    std::size_t sizeInBytes() const override;

private:
    struct TrackTimes {
        // The elements before the edit, until finish() has matched them.
        std::vector<const Element*> before;
        std::vector<int> oldTimes;  // by index before the edit
        std::vector<int> newTimes;  // by index after it
        // For each index after the edit, the index before it; empty when the order stayed.
        std::vector<int> oldIndex;
    };

    static void finishTrack(TrackTimes& times, const std::vector<const Element*>& after);

    std::array<TrackTimes, 16> tracks_;
};
