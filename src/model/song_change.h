#pragma once

#include <cstddef>

class OMBData;

// One part of an undoable step: what an edit changed in a song, kept so that it can be taken
// back and made again. undo() expects the song exactly as the edit left it and leaves it as
// the edit found it; redo() the other way round. Neither touches the changed flag.
class SongChange {
public:
    virtual ~SongChange() = default;

    virtual void undo(OMBData& song) = 0;
    virtual void redo(OMBData& song) = 0;
    // Memory the change keeps, elements it holds included, whichever way it was last applied.
    virtual std::size_t sizeInBytes() const = 0;
};
