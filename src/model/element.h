#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <tuple>

#include "model/object.h"

// What a track holds: a Note or an Event. Both carry a sort key of three whole numbers,
// (time, second key, third key): a note's (start, position, accidental), an event's
// (time, -1, 0). One ordering rule therefore serves both kinds: at one tick, notes above the
// top of the upper staff sort before events, events before every other note.
class Element : public Object {
public:
    enum class Kind : std::uint8_t { Note, Event };

    Kind kind() const { return kind_; }
    bool isNote() const { return kind_ == Kind::Note; }
    bool isEvent() const { return kind_ == Kind::Event; }

    // A note's start, an event's time: ticks from the start of the song.
    int time() const { return time_; }
    // A note's staff position; -1 for an event.
    int secondKey() const { return secondKey_; }
    int thirdKey() const { return thirdKey_; }
    // Does not move the element inside its track: whoever changes the time of an element in
    // a track keeps the track in order.
    void setTime(int time) { time_ = time; }

    // True when this element's sort key is less than or equal to the other's.
    // The other object must be an Element.
    bool compare(const Object& other) const override;
    // A copy of its own, data block included: what cut, copy and paste move between tracks.
    std::unique_ptr<Element> copy() const;
    const char* nameOf() const override { return isNote() ? "Note" : "Event"; }
    // Notes and events live in the ElementPool.
    static void* operator new(std::size_t bytes);
    static void operator delete(void* element, std::size_t bytes);

    bool sortsAtOrBefore(const Element& other) const {
        return std::tie(time_, secondKey_, thirdKey_) <=
               std::tie(other.time_, other.secondKey_, other.thirdKey_);
    }

protected:
    Element(Kind kind, int time, int secondKey, int thirdKey)
        : time_(time),
          secondKey_(narrowSecondKey(secondKey)),
          thirdKey_(narrowThirdKey(thirdKey)),
          kind_(kind) {}

    // A staff position and an accidental are small numbers, and a song holds millions of
    // elements: the keys after the time are kept narrow, so that with the table pointer an
    // element's common part is 16 bytes. A value beyond them is held at the nearest end.
    void setSecondKey(int secondKey) { secondKey_ = narrowSecondKey(secondKey); }
    void setThirdKey(int thirdKey) { thirdKey_ = narrowThirdKey(thirdKey); }

private:
    static std::int16_t narrowSecondKey(int value) {
        return static_cast<std::int16_t>(std::clamp(value, INT16_MIN, INT16_MAX));
    }
    static std::int8_t narrowThirdKey(int value) {
        return static_cast<std::int8_t>(std::clamp(value, INT8_MIN, INT8_MAX));
    }

protected:
    int time_;
    std::int16_t secondKey_;
    std::int8_t thirdKey_;
    Kind kind_;
};
