#include "model/undo_step.h"

void UndoStep::add(std::unique_ptr<SongChange> change) {
    bytes_ += change->sizeInBytes();
    changes_.push_back(std::move(change));
}

void UndoStep::undo(OMBData& song) {
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) {
        (*change)->undo(song);
    }
}

void UndoStep::redo(OMBData& song) {
    for (auto& change : changes_) {
        change->redo(song);
    }
}
