#pragma once

#include <array>
#include <string>

#include "model/pitch.h"
#include "model/song_change.h"

class OMBData;

// The values of a song that are not its elements, as the option dialogs, Delete Current Track
// and the event lists change them: the programs, the time division, title and author, the
// key-signature slots, the time signature, and the tempo, which is the program's and shared by
// every open song.
struct SongValues {
    static SongValues of(const OMBData& song);
    // Gives the song those of these values that differ from other, and leaves the rest. The
    // tempo is shared: a change of another value must not take back a tempo set since, in this
    // song or another.
    void applyWhereDifferent(const SongValues& other, OMBData& song) const;

    std::array<int, 16> program{};
    int timeDivision = 0;
    std::string title;
    std::string author;
    int beatsPerBar = 0;
    int beatUnit = 0;
    int defaultTempo = 0;
    KeySignature keySignature{};

    bool operator==(const SongValues&) const = default;
};

// A change of the song's values from before to what they are when the change is made.
class SongValuesChange : public SongChange {
public:
    SongValuesChange(SongValues before, const OMBData& after)
        : before_(std::move(before)), after_(SongValues::of(after)) {}

    void undo(OMBData& song) override { before_.applyWhereDifferent(after_, song); }
    void redo(OMBData& song) override { after_.applyWhereDifferent(before_, song); }
    std::size_t sizeInBytes() const override { return sizeof(*this); }

private:
    SongValues before_;
    SongValues after_;
};
