#include "smf/track_messages.h"

#include <algorithm>
#include <climits>

#include "model/omb_data.h"

namespace {

// The time's part of a message's order, moved by half its range so that it counts up from
// zero as the time does.
std::uint64_t orderOfTime(int time) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(time) ^ 0x80000000U) << 32;
}

// The message's sort key, each part moved by half its range like the time.
std::uint64_t orderOf(int time, int position, int accidental) {
    const auto biased = [](int value, int bits) {
        const int bias = 1 << (bits - 1);
        return static_cast<std::uint64_t>(std::clamp(value, -bias, bias - 1) + bias);
    };
    return orderOfTime(time) | biased(position, 16) << 16 | biased(accidental, 8) << 8;
}

}  // namespace

TrackMessages::TrackMessages(const Track& track, const OMBData& song, OrderCheck check)
    : TrackMessages(track, song, INT_MIN, std::int64_t{INT_MAX} + 1, check) {}

TrackMessages::TrackMessages(const Track& track, const OMBData& song, std::int64_t fromTick,
                             std::int64_t toTick, OrderCheck check)
    : track_(track),
      song_(song),
      fromTick_(fromTick),
      toTick_(toTick),
      checkAsRead_(check == OrderCheck::AsRead) {
    if (checkAsRead_) {
        // Every element is read, from the first, so that each is checked against the one
        // before it.
        haveStart_ = nextStart(start_);
        return;
    }
    for (int i = 1; i < track_.count(); ++i) {
        track_.prefetch(i + Track::kPrefetchAhead);
        if (!track_.at(i - 1)->sortsAtOrBefore(*track_.at(i))) {
            inOrder_ = false;
            sortWhole();
            return;
        }
    }
    // In order, the range is one run of the track: a play from deep in a long song starts
    // there, and stops where the range ends, without walking what lies outside it.
    if (fromTick_ > INT_MIN) {
        const int first =
            track_.firstAtOrAfter(static_cast<int>(std::min<std::int64_t>(fromTick_, INT_MAX)));
        index_ = first >= 0 ? first : track_.count();
    }
    haveStart_ = nextStart(start_);
}

bool TrackMessages::next(Message& message) {
    if (!inOrder_) {
        if (sortedNext_ == sorted_.size()) {
            return false;
        }
        message = sorted_[sortedNext_++];
        return true;
    }
    // A note-off sorts after its note-on and so after every message before that: it is
    // enough to queue it once its note-on has gone out.
    if (!ends_.empty() && (!haveStart_ || sortsBefore(ends_.top(), start_))) {
        message = ends_.top();
        ends_.pop();
        return true;
    }
    if (!haveStart_) {
        return false;
    }
    message = start_;
    if (message.isNote()) {
        ends_.push(noteOff(message));
    }
    haveStart_ = nextStart(start_);
    return true;
}

// The note-on or event of the next element in the range.
bool TrackMessages::nextStart(Message& message) {
    while (index_ < track_.count()) {
        const int index = index_++;
        track_.prefetch(index + Track::kPrefetchAhead);
        const Element& element = *track_.at(index);
        if (checkAsRead_ && index > 0 && !track_.at(index - 1)->sortsAtOrBefore(element)) {
            foundOutOfOrder_ = true;
            index_ = track_.count();
            return false;
        }
        if (element.time() < fromTick_) {
            continue;
        }
        if (element.time() >= toTick_) {
            if (inOrder_ && !checkAsRead_) {
                index_ = track_.count();
                return false;
            }
            continue;
        }
        const auto sequence = static_cast<std::uint32_t>(2 * index);
        if (element.isEvent()) {
            message = {orderOf(element.time(), element.secondKey(), 0),
                       sequence,
                       element.time(),
                       0,
                       0,
                       0,
                       0};
            return true;
        }
        const auto& note = static_cast<const Note&>(element);
        // A note ends at or after its start, however long the model says it is.
        const int end = static_cast<int>(std::clamp<std::int64_t>(
            std::int64_t{note.start()} + note.duration(), note.start(), INT_MAX));
        message = {orderOf(note.start(), note.position(), note.accidental()), sequence,
                   note.start(), end, static_cast<std::uint8_t>(0x90 | (note.channel() & 0x0F)),
                   static_cast<std::uint8_t>(
                       std::clamp(song_.keyOf(note.position(), note.accidental()), 0, 127)),
                   // A note-on of velocity 0 is a note-off: the note would be lost.
                   static_cast<std::uint8_t>(std::clamp(note.velocity(), 1, 127))};
        return true;
    }
    return false;
}

TrackMessages::Message TrackMessages::noteOff(const Message& noteOn) const {
    Message off = noteOn;
    off.time = noteOn.end;
    off.order = orderOfTime(noteOn.end) | (noteOn.order & 0xFFFFFFFF);
    off.sequence = noteOn.sequence + 1;
    off.status = static_cast<std::uint8_t>(0x80 | (noteOn.status & 0x0F));
    return off;
}

void TrackMessages::sortWhole() {
    Message message{};
    while (nextStart(message)) {
        sorted_.push_back(message);
        if (message.isNote()) {
            sorted_.push_back(noteOff(message));
        }
    }
    std::sort(sorted_.begin(), sorted_.end(), sortsBefore);
}
