#pragma once

#include <vector>

#include "model/song_change.h"
#include "model/time_signature.h"

class OMBData;

// A time signature chosen for the song (OMBData::chooseTimeSignature): the song's signature and
// the time-signature events at tick 0 it rewrote. Made before the choice, then the choice is
// made through choose().
class TimeSignatureChange : public SongChange {
public:
    TimeSignatureChange(const OMBData& song, TimeSignature chosen);

    void choose(OMBData& song) const;
    void undo(OMBData& song) override;
    void redo(OMBData& song) override { choose(song); }
    std::size_t sizeInBytes() const override;

private:
    struct SignatureEvent {
        int track;
        int index;
        TimeSignature signature;
    };

    TimeSignature chosen_;
    TimeSignature before_;
    std::vector<SignatureEvent> events_;
};
