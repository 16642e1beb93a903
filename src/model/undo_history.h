#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "model/undo_step.h"

class OMBData;

// The undo and redo lists of one song. Steps are recorded after their change was made; undo
// and redo replay them on the song. The song's changed flag follows the history: it is clear
// exactly when the song is in the state last saved or loaded. At most kMaxSteps steps and
// kMaxBytes bytes are kept, the oldest dropped first. Window thread only.
class UndoHistory {
public:
    static constexpr std::size_t kMaxSteps = 1000;
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;

    // The song must outlive the history.
    explicit UndoHistory(OMBData& song) : song_(song) {}

    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    const OMBData& song() const { return song_; }

    // A change just made to the song: it becomes the step to undo, and the redo list goes.
    // An empty step is not kept.
    void record(std::unique_ptr<UndoStep> step);
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The names of the steps undo and redo would replay; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;
    // Takes the last step back, or makes the next one again. The step replayed, for where it
    // happened; null when there was none.
    const UndoStep* undo();
    const UndoStep* redo();

    // The song as it stands is the one in its file (saved, or just loaded).
    void markSaved();
    // The song was emptied or loaded afresh: every step is forgotten.
    void forget();
    // A change the program made to the song on its own (a save writing its defaults into
    // track 0) becomes part of the last step undone, so that undoing it leaves the song as
    // that step found it. The redo list goes, since it was recorded without the change.
    void absorb(std::unique_ptr<SongChange> change);

    std::size_t stepCount() const { return steps_.size(); }
    // Steps that stand in the song: how many undo can take back.
    std::size_t undoCount() const { return done_; }
    std::size_t sizeInBytes() const { return bytes_; }
    // Runs after every change of the lists, of the saved state or of the changed flag.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    void dropRedoList();
    void dropOldest();
    // Sets the changed flag from the saved state and tells the observer.
    void followSaved();

    OMBData& song_;
    std::deque<std::unique_ptr<UndoStep>> steps_;
    // Steps that stand in the song; the rest are the redo list.
    std::size_t done_ = 0;
    // How many steps stood when the song was last saved or loaded; kUnreachable once that
    // state was left by a change no longer kept.
    static constexpr long kUnreachable = -1;
    long saved_ = 0;
    std::size_t bytes_ = 0;
    std::function<void()> observer_;
};
