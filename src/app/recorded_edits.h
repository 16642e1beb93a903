#pragma once

#include <memory>
#include <string>

#include "model/undo_step.h"

class Element;
class OMBData;
struct SongValues;

// The element edits of one dialog session, made on the song and kept as one undo step. Each
// edit is recorded as it is made, so every index the step holds is valid in the state its
// replay meets. Window thread only.
class RecordedEdits {
public:
    // name: the step's name in the Edit menu.
    RecordedEdits(OMBData& song, std::string name) : song_(song), name_(std::move(name)) {}

    OMBData& song() const { return song_; }

    // Destroys the element at index of the track (keeping it for undo).
    void remove(int track, int index);
    // Adds the element to the track in time order. Returns its index.
    int insert(int track, std::unique_ptr<Element> element);
    // Puts the element in place of the one at index, which must sort the same: the order of
    // the track, equal keys included, stays as it was.
    void replace(int track, int index, std::unique_ptr<Element> element);
    // The song's values changed from before to what they are now (nothing when they did not).
    void valuesChanged(const SongValues& before);
    // Spells every note afresh in the song's key signature (see respellNotes).
    void respellNotes();

    // Everything recorded since the last take, as one step; null when nothing was.
    std::unique_ptr<UndoStep> take() { return std::move(step_); }

private:
    UndoStep& step(int tick);

    OMBData& song_;
    std::string name_;
    std::unique_ptr<UndoStep> step_;
};
