#pragma once

#include <string>

#include "model/omb_data.h"
#include "model/undo_history.h"

// One open song and the file it belongs to: what a staff window shows and the file commands
// load and save, with the song's own undo history.
struct SongDocument {
    SongDocument(SongTiming& timing, std::string name) : song(timing), fileName(std::move(name)) {}

    OMBData song;
    UndoHistory history{song};
    // Full path of the song's file, whole however long; empty while Open is still asking for
    // one.
    std::string fileName;
    // The song was read from or written to its file, which is therefore its own. A new song's
    // name is only a suggestion.
    bool loaded = false;
};
