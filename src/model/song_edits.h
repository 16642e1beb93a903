#pragma once

class OMBData;
class UndoStep;

// Edits that change a song's elements wholesale. Each marks the song changed and,
// given a record, adds to it what it changed so that the edit can be undone.

// Moves every element of the 16 tracks by one amount so that the song's first note starts
// at tick (>= 0). Elements that would start before tick 0 start at 0, and elements pushed
// past the last tick stay there; the tracks stay in order.
void setFirstNoteTime(OMBData& song, int tick, UndoStep* record = nullptr);

// Destroys every element of the track (0-15) and forgets the track's program.
void deleteTrack(OMBData& song, int track, UndoStep* record = nullptr);

// What transposeNotes and changeVelocities work on besides one track (0-15): all 16.
inline constexpr int kEveryTrack = -1;
// The channel of drum notes (MIDI channel 10), which transposing leaves alone unless asked.
inline constexpr int kDrumChannel = 9;

// Moves every sounding note of the track, or of every track, by semitones (-127..127) and
// spells it afresh in the song's key signature; a key beyond 0-127 stays at the end it passed.
// Rests stay where they are, and so do drum notes unless includeDrums. Notes that sort
// differently afterwards move within their tick. The song is marked changed only when a note
// changed.
void transposeNotes(OMBData& song, int track, int semitones, bool includeDrums,
                    UndoStep* record = nullptr);

// Adds amount (-127..127) to the velocity of every sounding note of the track, or of every
// track, within 0-127. Velocity 1 is a rest's, so a note passes over it (to 0 going down, to 2
// going up) rather than turn into a rest; rests stay rests. The song is marked changed only
// when a note changed.
void changeVelocities(OMBData& song, int track, int amount, UndoStep* record = nullptr);
