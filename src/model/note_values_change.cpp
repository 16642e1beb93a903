#include "model/note_values_change.h"

#include "model/omb_data.h"

NoteValuesChange::Values NoteValuesChange::Values::of(const Note& note) {
    return {note.position(), static_cast<std::int8_t>(note.accidental()),
            static_cast<std::uint8_t>(note.velocity())};
}

void NoteValuesChange::Values::giveTo(Note& note) const {
    note.setPosition(position);
    note.setAccidental(accidental);
    note.setVelocity(velocity);
}

bool NoteValuesChange::empty() const {
    for (const TrackChanges& changes : tracks_) {
        if (!changes.notes.empty()) {
            return false;
        }
    }
    return true;
}

void NoteValuesChange::changed(int track, int index, const Values& before, const Values& after) {
    tracks_[track].notes.push_back({index, before, after});
}

void NoteValuesChange::reordered(int track, int first, std::vector<int> from) {
    tracks_[track].reorders.push_back({first, std::move(from)});
}

void NoteValuesChange::undo(OMBData& song) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        Track& track = song.track(t);
        const TrackChanges& changes = tracks_[t];
        for (auto run = changes.reorders.rbegin(); run != changes.reorders.rend(); ++run) {
            std::vector<int> back(run->from.size());
            for (std::size_t i = 0; i < run->from.size(); ++i) {
                back[static_cast<std::size_t>(run->from[i])] = static_cast<int>(i);
            }
            track.rearrange(run->first, back);
        }
        for (const Changed& note : changes.notes) {
            note.before.giveTo(*static_cast<Note*>(track.at(note.index)));
        }
    }
}

void NoteValuesChange::redo(OMBData& song) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        Track& track = song.track(t);
        for (const Changed& note : tracks_[t].notes) {
            note.after.giveTo(*static_cast<Note*>(track.at(note.index)));
        }
        for (const Reorder& run : tracks_[t].reorders) {
            track.rearrange(run.first, run.from);
        }
    }
}

std::size_t NoteValuesChange::sizeInBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const TrackChanges& changes : tracks_) {
        bytes += changes.notes.capacity() * sizeof(Changed) +
                 changes.reorders.capacity() * sizeof(Reorder);
        for (const Reorder& run : changes.reorders) {
            bytes += run.from.capacity() * sizeof(int);
        }
    }
    return bytes;
}
