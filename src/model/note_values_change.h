#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/song_change.h"

class Note;

// An edit that gave notes another pitch or velocity, keeping every element and every time
// (Transpose, Volume). Notes that sort differently afterwards moved within their tick; the
// change keeps those moves too. Twenty bytes a changed note.
class NoteValuesChange : public SongChange {
public:
    // What such an edit changes of a note.
    struct Values {
        static Values of(const Note& note);
        void giveTo(Note& note) const;
        bool operator==(const Values&) const = default;

        int position;
        std::int8_t accidental;
        std::uint8_t velocity;
    };

    bool empty() const;
    // The note at index of track (0-15) had before and has after now. Per track the indexes
    // ascend and are counted before the track's reorders.
    void changed(int track, int index, const Values& before, const Values& after);
    // After its notes changed, the run of the track from first on was put back in order: slot
    // first + i took what slot first + from[i] held. Per track the runs ascend.
    void reordered(int track, int first, std::vector<int> from);

    void undo(OMBData& song) override;
    void redo(OMBData& song) override;
    std::size_t sizeInBytes() const override;

private:
    struct Changed {
        int index;
        Values before;
        Values after;
    };
    struct Reorder {
        int first;
        std::vector<int> from;
    };
    struct TrackChanges {
        std::vector<Changed> notes;
        std::vector<Reorder> reorders;
    };

    std::array<TrackChanges, 16> tracks_;
};
