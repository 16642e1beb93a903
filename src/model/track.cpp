#include "model/track.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int kInitialUpperBound = 500;
constexpr unsigned kGrowthStep = 500;
}  // namespace

Track::Track(int number) : SortedArray(kInitialUpperBound, 0, kGrowthStep), number_(number) {}

int Track::add(std::unique_ptr<Element> element) {
    return SortedArray::add(std::move(element));
}

int Track::addWithHint(std::unique_ptr<Element> element, int& hint) {
    const Element& added = *element;
    return addNear(std::move(element), hint, [&added](const Object& placed) {
        return static_cast<const Element&>(placed).sortsAtOrBefore(added);
    });
}

std::unique_ptr<Element> Track::removeAt(int index) {
    return std::unique_ptr<Element>(static_cast<Element*>(takeAt(index).release()));
}

void Track::clear() {
    for (int i = lastElementIndex(); i >= 0; --i) {
        destroyAt(i);
    }
}

int Track::firstAtOrAfter(int t) const {
    // The elements are in time order, so a page deep in a long song is found without walking
    // the song before it.
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (at(middle)->time() < t) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < count() ? low : -1;
}

int Track::findNoteInWindow(int t, int earliest, int position) const {
    earliest = std::max(earliest, 0);
    for (int i = 0; i < count(); ++i) {
        const Element* element = at(i);
        if (element->time() > t) {
            return -1;
        }
        if (element->time() >= earliest && element->time() < t &&
            element->secondKey() == position) {
            return i;
        }
    }
    return -1;
}

int Track::findSoundingNote(int t, int position) const {
    for (int i = 0; i < count(); ++i) {
        const Element* element = at(i);
        if (element->time() > t) {
            return -1;
        }
        if (!element->isNote()) {
            continue;
        }
        const auto* note = static_cast<const Note*>(element);
        if (t > note->start() + note->duration()) {
            continue;
        }
        const bool altered = note->accidental() == -1 || note->accidental() == 1;
        if (note->position() == position || (note->position() == position + 5 && altered)) {
            return i;
        }
    }
    return -1;
}

int Track::tempoInForce(int index, int earliest, int defaultTempo) const {
    if (index < 0 || index >= count()) {
        return defaultTempo;
    }
    for (int i = index; i >= 0; --i) {
        const Element* element = at(i);
        if (element->time() < earliest) {
            return defaultTempo;
        }
        if (element->isEvent() && static_cast<const Event*>(element)->isMeta(Event::kMetaTempo)) {
            return static_cast<const Event*>(element)->data2();
        }
    }
    return defaultTempo;
}

int Track::lastWithKey(int value) const {
    for (int i = count() - 1; i >= 0; --i) {
        if (at(i)->secondKey() == value) {
            return i;
        }
    }
    return -1;
}

void Track::setProgramAtStart(int program, int status) {
    for (int i = 0; i < count(); ++i) {
        Element* element = at(i);
        if (element->time() > 0) {
            int hint = 0;
            addWithHint(
                std::make_unique<Event>(0, status, std::span<const std::uint8_t>{}, program, 0, 0),
                hint);
            return;
        }
        if (element->isEvent() && static_cast<Event*>(element)->isProgramChange()) {
            static_cast<Event*>(element)->setData1(program);
            return;
        }
    }
    if (empty()) {
        add(std::make_unique<Event>(0, status, std::span<const std::uint8_t>{}, program, 0, 0));
    }
}
