#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/song_change.h"

class OMBData;

// One change of a song as the user sees it ("Note Entry", "Paste", "Time Signature"): the
// changes it is made of, taken back in reverse order and made again in order, and where in
// the song it happened.
class UndoStep {
public:
    static constexpr int kNowhere = -1;

    // tick: where the change lies in the song, or kNowhere for a change of the song's values.
    UndoStep(std::string name, int tick) : name_(std::move(name)), tick_(tick) {}

    const std::string& name() const { return name_; }
    int tick() const { return tick_; }
    bool empty() const { return changes_.empty(); }

    // Changes are added in the order they were made.
    void add(std::unique_ptr<SongChange> change);
    void undo(OMBData& song);
    void redo(OMBData& song);
    // What the step keeps, fixed when its changes are added.
    std::size_t sizeInBytes() const { return bytes_; }

private:
    std::string name_;
    int tick_;
    std::vector<std::unique_ptr<SongChange>> changes_;
    std::size_t bytes_ = sizeof(UndoStep);
};
