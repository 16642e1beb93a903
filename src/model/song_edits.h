#pragma once

#include "model/time_signature.h"

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
// track, within 2-127: velocity 1 is a rest's and a note-on of velocity 0 a note-off, so a note
// never turns into a rest or vanishes from the saved file; rests stay rests. The song is marked
// changed only when a note changed.
void changeVelocities(OMBData& song, int track, int amount, UndoStep* record = nullptr);

// Gives the song the key signature of sharps (flats when negative, -7..7): the song's key, its
// key-signature events at tick 0 (see OMBData::chooseKeySignature), and every note spelled
// afresh in it (see respellNotes).
void setKeySignature(OMBData& song, int sharps, UndoStep* record = nullptr);
// Gives the song the time signature: its own and that of its time-signature events at tick 0
// (see OMBData::chooseTimeSignature).
void setTimeSignature(OMBData& song, TimeSignature signature, UndoStep* record = nullptr);

// Spells every note of the track, or of every track, and every rest, afresh in the song's key
// signature, as a load of the song would spell it; the keys stay. Used when the key changes, so
// that a note looks as it sounds under the new key.
void respellNotes(OMBData& song, int track, UndoStep* record = nullptr);
