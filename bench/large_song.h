#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "model/omb_data.h"
#include "model/undo_history.h"

// A large, valid format-1 file for measuring: 16 tracks of busy music holding `notes` notes
// in all (overlapping voices, chords, drums on channel 10), controllers and pitch bends
// between them, tempo changes in track 0, and running status in the odd tracks. The same
// count always gives the same bytes.
std::vector<std::uint8_t> makeLargeSong(int notes);

// The count of notes that plays for about ten minutes (603 s).
constexpr int kTenMinuteSongNotes = 33'400;

// makeLargeSong(1,000,000) in a file in the temporary directory, written at the first call of
// the process.
std::filesystem::path largeSongFile();

// largeSongFile() loaded, with an empty history to record its edits in.
struct LoadedLargeSong {
    LoadedLargeSong();

    SongTiming timing;
    OMBData song{timing};
    UndoHistory history{song};
};
