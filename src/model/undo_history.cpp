#include "model/undo_history.h"

#include "model/omb_data.h"

void UndoHistory::record(std::unique_ptr<UndoStep> step) {
    if (step->empty()) {
        return;
    }
    dropRedoList();
    bytes_ += step->sizeInBytes();
    steps_.push_back(std::move(step));
    ++done_;
    dropOldest();
    followSaved();
}

std::string UndoHistory::undoName() const {
    return canUndo() ? steps_[done_ - 1]->name() : std::string();
}

std::string UndoHistory::redoName() const {
    return canRedo() ? steps_[done_]->name() : std::string();
}

const UndoStep* UndoHistory::undo() {
    if (!canUndo()) {
        return nullptr;
    }
    UndoStep& step = *steps_[--done_];
    step.undo(song_);
    followSaved();
    return &step;
}

const UndoStep* UndoHistory::redo() {
    if (!canRedo()) {
        return nullptr;
    }
    UndoStep& step = *steps_[done_++];
    step.redo(song_);
    followSaved();
    return &step;
}

void UndoHistory::markSaved() {
    saved_ = static_cast<long>(done_);
    followSaved();
}

void UndoHistory::forget() {
    steps_.clear();
    done_ = 0;
    saved_ = 0;
    bytes_ = 0;
    if (observer_) {
        observer_();
    }
}

void UndoHistory::absorb(std::unique_ptr<SongChange> change) {
    dropRedoList();
    if (done_ > 0) {
        UndoStep& last = *steps_[done_ - 1];
        bytes_ -= last.sizeInBytes();
        last.add(std::move(change));
        bytes_ += last.sizeInBytes();
    }
    // With no step to undo, the change simply belongs to the song as it stands.
    followSaved();
}

void UndoHistory::dropRedoList() {
    if (saved_ > static_cast<long>(done_)) {
        saved_ = kUnreachable;
    }
    while (steps_.size() > done_) {
        bytes_ -= steps_.back()->sizeInBytes();
        steps_.pop_back();
    }
}

void UndoHistory::dropOldest() {
    while (!steps_.empty() && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= steps_.front()->sizeInBytes();
        steps_.pop_front();
        --done_;
        saved_ = saved_ > 0 ? saved_ - 1 : kUnreachable;
    }
}

void UndoHistory::followSaved() {
    song_.changed = saved_ != static_cast<long>(done_);
    if (observer_) {
        observer_();
    }
}
