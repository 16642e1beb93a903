#pragma once

#include <vector>

#include "model/pitch.h"
#include "model/song_change.h"

class OMBData;

// A key chosen for the song (OMBData::chooseKeySignature): the seven slots and the
// key-signature events at tick 0 it rewrote. Made before the choice, then the choice is made
// through choose().
class KeySignatureChange : public SongChange {
public:
    // Remembers what the choice of sharps (flats when negative) will rewrite.
    KeySignatureChange(const OMBData& song, int sharps);

    // Makes the choice.
    void choose(OMBData& song) const;
    void undo(OMBData& song) override;
    void redo(OMBData& song) override { choose(song); }
    std::size_t sizeInBytes() const override;

private:
    struct KeyEvent {
        int track;
        int index;
        int data2;
    };

    int sharps_;
    KeySignature slots_;
    std::vector<KeyEvent> events_;
};
