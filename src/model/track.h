#pragma once

#include <memory>

#include "model/element.h"
#include "model/event.h"
#include "model/note.h"
#include "model/sorted_array.h"

// One track of a song: its notes and events in time order, owned by the track.
// Indexes are 0-based positions in the track.
class Track : public SortedArray {
public:
    // A song's tracks are numbered 0-15; scratch tracks use other numbers.
    explicit Track(int number);

    int number() const { return number_; }

    Element* at(int index) const { return static_cast<Element*>(SortedArray::at(index)); }
    // A pass over a long track waits mostly for its elements, which lie apart from their
    // slots: a pass asks for the one a few places ahead of where it reads. Nothing happens
    // past the end.
    void prefetch(int index) const {
        if (index < count()) {
            __builtin_prefetch(at(index));
        }
    }
    static constexpr int kPrefetchAhead = 8;

    // Inserts after every element that sorts at or before the new one. Returns its index.
    int add(std::unique_ptr<Element> element);
    // The same, starting from hint (see SortedArray::addWithHint); for elements that arrive
    // in nearly sorted order.
    int addWithHint(std::unique_ptr<Element> element, int& hint);
    void destroyAt(int index) { detachAt(index); }
    // Unlinks the element without destroying it: moving a note from one track to another.
    std::unique_ptr<Element> removeAt(int index);
    // Destroys every element, last to first.
    void clear();

    // Index of the first element at time t or later, or -1.
    int firstAtOrAfter(int t) const;
    // The first element at the position with earliest <= time < t, or -1. Elements exactly at t
    // are skipped; a negative earliest counts as 0.
    int findNoteInWindow(int t, int earliest, int position) const;
    // The first note sounding at t (start <= t <= start + duration) at the position, or a
    // flat or sharp drawn one step above it; -1 when none.
    int findSoundingNote(int t, int position) const;
    // Quarter notes per minute of the last tempo event at or before index that is not earlier
    // than earliest; the default when there is none or index is outside the track.
    int tempoInForce(int index, int earliest, int defaultTempo) const;
    // Index of the last element whose second sort key (position, or -1 for events) is value.
    int lastWithKey(int value) const;
    // Makes the track start with this program: changes the first program change at tick 0,
    // or inserts one at tick 0 when the track has elements later than 0 and none at 0.
    void setProgramAtStart(int program, int status);

private:
    int number_;
};
