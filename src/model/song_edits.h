#pragma once

class OMBData;
class UndoStep;

// Edits that move or remove a song's elements wholesale. Each marks the song changed and,
// given a record, adds to it what it changed so that the edit can be undone.

// Moves every element of the 16 tracks by one amount so that the song's first note starts
// at tick (>= 0). Elements that would start before tick 0 start at 0, and elements pushed
// past the last tick stay there; the tracks stay in order.
void setFirstNoteTime(OMBData& song, int tick, UndoStep* record = nullptr);

// Destroys every element of the track (0-15) and forgets the track's program.
void deleteTrack(OMBData& song, int track, UndoStep* record = nullptr);
