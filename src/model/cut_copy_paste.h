#pragma once

#include <functional>

class Note;
class OMBData;
class Track;
class UndoStep;

// What cut and copy take from a track: the elements from the first at or after fromTick up
// to the last that starts at or before throughTick (0: to the end of the track); of those,
// every event and the notes that takesNote accepts.
struct ElementSelection {
    int fromTick = 0;
    int throughTick = 0;
    std::function<bool(const Note&)> takesNote;
};

// Appends a copy of each selected element of the song's track (0-15) to pasteBuffer, after
// what the buffer already holds. With cut the selected elements are destroyed in the track
// and the song is marked changed; a record, when given, keeps them so the cut can be undone.
// False when no element starts at or after fromTick: then nothing changes.
bool copySelection(OMBData& song, int track, const ElementSelection& selection, bool cut,
                   Track& pasteBuffer, UndoStep* record = nullptr);

// Adds to the song's track (0-15) a copy of every element of pasteBuffer, offsetTicks later
// than the original (kept between tick 0 and the last tick), and marks the song changed. An
// empty buffer changes nothing. The buffer keeps its elements, ready to paste again. A record,
// when given, learns where the copies went.
void pasteElements(OMBData& song, int track, const Track& pasteBuffer, int offsetTicks,
                   UndoStep* record = nullptr);
