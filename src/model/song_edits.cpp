#include "model/song_edits.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "model/element_times.h"
#include "model/key_signature_change.h"
#include "model/note_values_change.h"
#include "model/omb_data.h"
#include "model/song_values.h"
#include "model/time_signature_change.h"
#include "model/track_splice.h"
#include "model/undo_step.h"

void setFirstNoteTime(OMBData& song, int tick, UndoStep* record) {
    auto times = record != nullptr ? std::make_unique<ElementTimes>(song) : nullptr;
    const std::int64_t shift = std::int64_t{tick} - song.firstNoteTime();
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        Track& elements = song.track(t);
        // Elements pushed before the start all land at 0, where they must sort afresh; the
        // rest keep their order, so each goes back right behind the one before.
        std::vector<std::unique_ptr<Element>> moved;
        while (!elements.empty()) {
            moved.push_back(elements.removeAt(elements.count() - 1));
        }
        int hint = 0;
        for (auto element = moved.rbegin(); element != moved.rend(); ++element) {
            const std::int64_t time = (*element)->time() + shift;
            (*element)->setTime(static_cast<int>(std::clamp<std::int64_t>(time, 0, INT_MAX)));
            elements.addWithHint(std::move(*element), hint);
        }
    }
    if (times) {
        times->finish(song);
        record->add(std::move(times));
    }
    song.changed = true;
}

void deleteTrack(OMBData& song, int track, UndoStep* record) {
    std::vector<std::unique_ptr<Object>> taken = song.track(track).takeAll();
    const SongValues before = SongValues::of(song);
    song.program[track] = OMBData::kNoProgram;
    song.changed = true;
    if (record == nullptr) {
        return;
    }
    // The elements wait in the record rather than being destroyed.
    auto splice = std::make_unique<TrackSplice>(track);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        splice->taken(static_cast<int>(i),
                      std::unique_ptr<Element>(static_cast<Element*>(taken[i].release())));
    }
    record->add(std::move(splice));
    record->add(std::make_unique<SongValuesChange>(before, song));
}

namespace {

// A new pitch may sort a note differently among the elements of its tick, and times do not
// change, so only runs of one tick can have come out of order. Each is sorted again, equal
// keys keeping their order.
void restoreOrder(Track& track, NoteValuesChange* record) {
    for (int first = 0; first < track.count();) {
        const int time = track.at(first)->time();
        int end = first + 1;
        bool sorted = true;
        for (; end < track.count() && track.at(end)->time() == time; ++end) {
            sorted = sorted && track.at(end - 1)->sortsAtOrBefore(*track.at(end));
        }
        if (!sorted) {
            std::vector<int> from(static_cast<std::size_t>(end - first));
            std::iota(from.begin(), from.end(), 0);
            std::stable_sort(from.begin(), from.end(), [&track, first](int a, int b) {
                return !track.at(first + b)->sortsAtOrBefore(*track.at(first + a));
            });
            track.rearrange(first, from);
            if (record != nullptr) {
                record->reordered(track.number(), first, std::move(from));
            }
        }
        first = end;
    }
}

// What a note of each key is spelled as in the song's key signature.
std::array<StaffPitch, 128> spellings(const OMBData& song) {
    std::array<StaffPitch, 128> spelled;
    for (int key = 0; key < 128; ++key) {
        spelled[static_cast<std::size_t>(key)] = song.spellKey(key);
    }
    return spelled;
}

// Lets adjust change each sounding note of the chosen tracks and keeps what it changed.
// Rests are skipped unless asked for: their velocity and their place are what make them rests.
template <typename Adjust>
void adjustNotes(OMBData& song, int chosenTrack, const Adjust& adjust, UndoStep* record,
                 bool withRests = false) {
    auto change = record != nullptr ? std::make_unique<NoteValuesChange>() : nullptr;
    const int firstTrack = chosenTrack == kEveryTrack ? 0 : chosenTrack;
    const int endTrack = chosenTrack == kEveryTrack ? OMBData::kTrackCount : chosenTrack + 1;
    for (int t = firstTrack; t < endTrack; ++t) {
        Track& track = song.track(t);
        bool changed = false;
        for (int i = 0; i < track.count(); ++i) {
            Element& element = *track.at(i);
            if (!element.isNote() || (!withRests && static_cast<Note&>(element).isRest())) {
                continue;
            }
            Note& note = static_cast<Note&>(element);
            const NoteValuesChange::Values before = NoteValuesChange::Values::of(note);
            adjust(note);
            const NoteValuesChange::Values after = NoteValuesChange::Values::of(note);
            if (after != before) {
                changed = true;
                if (change) {
                    change->changed(t, i, before, after);
                }
            }
        }
        if (changed) {
            restoreOrder(track, change.get());
            song.changed = true;
        }
    }
    if (change && !change->empty()) {
        record->add(std::move(change));
    }
}

}  // namespace

void transposeNotes(OMBData& song, int track, int semitones, bool includeDrums, UndoStep* record) {
    if (semitones == 0) {
        return;
    }
    // Every note of the key gets the same spelling: look each up once.
    const std::array<StaffPitch, 128> spelled = spellings(song);
    adjustNotes(
        song, track,
        [&spelled, semitones, includeDrums](Note& note) {
            if (note.channel() == kDrumChannel && !includeDrums) {
                return;
            }
            const int key =
                std::clamp(keyOf(note.position(), note.accidental()) + semitones, 0, 127);
            const StaffPitch pitch = spelled[static_cast<std::size_t>(key)];
            note.setPosition(pitch.position);
            note.setAccidental(pitch.accidental);
        },
        record);
}

void changeVelocities(OMBData& song, int track, int amount, UndoStep* record) {
    if (amount == 0) {
        return;
    }
    adjustNotes(
        song, track,
        [amount](Note& note) {
            note.setVelocity(
                std::clamp(note.velocity() + amount, Note::kLowestSoundingVelocity, 127));
        },
        record);
}

void respellNotes(OMBData& song, int track, UndoStep* record) {
    const std::array<StaffPitch, 128> spelled = spellings(song);
    adjustNotes(
        song, track,
        [&spelled](Note& note) {
            const StaffPitch pitch =
                spelled[static_cast<std::size_t>(keyOf(note.position(), note.accidental()))];
            note.setPosition(pitch.position);
            note.setAccidental(pitch.accidental);
        },
        record, true);
}

void setKeySignature(OMBData& song, int sharps, UndoStep* record) {
    auto change = std::make_unique<KeySignatureChange>(song, sharps);
    change->choose(song);
    if (record != nullptr) {
        record->add(std::move(change));
    }
    // Every note looks as it sounds under the new key, as the saved song will show it.
    respellNotes(song, kEveryTrack, record);
}

void setTimeSignature(OMBData& song, TimeSignature signature, UndoStep* record) {
    auto change = std::make_unique<TimeSignatureChange>(song, signature);
    change->choose(song);
    if (record != nullptr) {
        record->add(std::move(change));
    }
}
