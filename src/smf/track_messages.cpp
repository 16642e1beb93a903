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

// The rest of the order, each part moved by half its range like the time.
std::uint64_t orderOfPlace(int position, int accidental) {
    const auto biased = [](int value, int bits) {
        const int bias = 1 << (bits - 1);
        return static_cast<std::uint64_t>(std::clamp(value, -bias, bias - 1) + bias);
    };
    return biased(position, 16) << 16 | biased(accidental, 8) << 8;
}

// The element's sort key (time, position, accidental) as one number: the parts fit it whole,
// so two elements' numbers order as their keys do.
std::uint64_t orderOf(const Element& element) {
    return orderOfTime(element.time()) | orderOfPlace(element.secondKey(), element.thirdKey());
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
      endIndex_(track.count()),
      checkAsRead_(check == OrderCheck::AsRead) {
    if (checkAsRead_) {
        // Every element is read, from the first, so that each is checked against the one
        // before it.
        return;
    }
    for (int i = 1; i < track_.count(); ++i) {
        track_.prefetch(i + Track::kPrefetchAhead);
        if (!track_.at(i - 1)->sortsAtOrBefore(*track_.at(i))) {
            sortWhole();
            return;
        }
    }
    // In order, the range is one run of the track: a play from deep in a long song starts
    // there, and stops where the range ends, without walking what lies outside it.
    if (fromTick_ > INT_MIN) {
        const int first =
            track_.firstAtOrAfter(static_cast<int>(std::min<std::int64_t>(fromTick_, INT_MAX)));
        index_ = first >= 0 ? first : endIndex_;
    }
}

std::span<const TrackMessages::Message> TrackMessages::nextBatch() {
    if (sortedWhole_) {
        sortedWhole_ = false;
        return {ready_.data(), readyCount_};
    }
    readyCount_ = 0;
    // A batch may give nothing, when its elements lie before the range and the note-offs
    // waiting sort after them: then the next is read.
    while (readyCount_ == 0 && (index_ < endIndex_ || !ends_.empty())) {
        const std::size_t sortedEnds = ends_.size();
        const Message* const startsEnd = readElements(sortedEnds);
        if (foundOutOfOrder_) {
            ends_.clear();
            return {};
        }
        sortNewEnds(sortedEnds);
        mergeWithEnds(startsEnd);
    }
    return {ready_.data(), readyCount_};
}

// Reads a batch of elements into starts_ and their note-offs onto ends_, and returns the end of
// the starts read. A batch reads at least as many elements as note-offs wait, so that sorting
// the new ones in never costs more than the batch itself.
TrackMessages::Message* TrackMessages::readElements(std::size_t waitingEnds) {
    const int batch =
        static_cast<int>(std::min<std::size_t>(std::max<std::size_t>(kBatchElements, waitingEnds),
                                               static_cast<std::size_t>(endIndex_ - index_)));
    if (starts_.size() < static_cast<std::size_t>(batch)) {
        starts_.resize(batch);
    }
    Message* starts = starts_.data();
    for (const int last = index_ + batch; index_ < last; ++index_) {
        track_.prefetch(index_ + Track::kPrefetchAhead);
        const Element& element = *track_.at(index_);
        const std::uint64_t order = orderOf(element);
        if (checkAsRead_) {
            if (order < lastOrder_) {
                foundOutOfOrder_ = true;
                index_ = endIndex_;
                break;
            }
            lastOrder_ = order;
        }
        if (element.time() < fromTick_) {
            continue;
        }
        if (element.time() >= toTick_) {
            if (!checkAsRead_) {
                // In order, nothing after it lies in the range.
                index_ = endIndex_;
                break;
            }
            continue;
        }
        read(element, index_, order, starts);
    }
    return starts;
}

// Merges the starts read with the note-offs that sort before the last of them into ready_. The
// note-offs left may sort after the next batch's first start: they wait, unless no batch
// follows.
void TrackMessages::mergeWithEnds(const Message* startsEnd) {
    const Message* start = starts_.data();
    const Message* end = ends_.data();
    const Message* const endsEnd = end + ends_.size();
    const std::size_t most = static_cast<std::size_t>(startsEnd - start) + ends_.size();
    if (ready_.size() < most) {
        ready_.resize(most);
    }
    Message* out = ready_.data();
    // Which comes next is a toss-up that a branch would often guess wrong: the choice is made
    // without one.
    while (start != startsEnd && end != endsEnd) {
        const bool endFirst = (end->order < start->order) |
                              ((end->order == start->order) & (end->sequence < start->sequence));
        const Message* const heads[] = {start, end};
        *out++ = *heads[endFirst];
        end += endFirst;
        start += !endFirst;
    }
    out = std::copy(start, startsEnd, out);
    if (index_ >= endIndex_) {
        out = std::copy(end, endsEnd, out);
        end = endsEnd;
    }
    readyCount_ = static_cast<std::size_t>(out - ready_.data());
    ends_.erase(ends_.begin(), ends_.begin() + (end - ends_.data()));
}

inline void TrackMessages::read(const Element& element, int index, std::uint64_t order,
                                Message*& starts) {
    const auto sequence = static_cast<std::uint32_t>(2 * index);
    if (element.isEvent()) {
        const auto& event = static_cast<const Event&>(element);
        const int status = event.status();
        // A note's status in an event is not kept, so the two kinds never mix.
        const bool complete = Event::hasTwoDataBytes(status);
        const auto dataByte = [complete](int value) {
            return static_cast<std::uint8_t>(complete ? std::clamp(value, 0, 127) : 0);
        };
        *starts++ = {order, sequence, static_cast<std::uint8_t>(complete ? status : 0),
                     dataByte(event.data1()), dataByte(event.data2())};
        return;
    }
    const auto& note = static_cast<const Note&>(element);
    // The note-off keeps the note's place in the order, at its own time.
    const std::uint64_t place = order & 0xFFFFFFFF;
    const auto channel = static_cast<std::uint8_t>(note.channel() & 0x0F);
    const auto key = static_cast<std::uint8_t>(
        std::clamp(song_.keyOf(note.position(), note.accidental()), 0, 127));
    // A note-on of velocity 0 is a note-off: the note would be lost.
    const auto velocity = static_cast<std::uint8_t>(std::clamp(note.velocity(), 1, 127));
    // A note ends at or after its start, however long the model says it is.
    const int end = static_cast<int>(std::clamp<std::int64_t>(
        std::int64_t{note.start()} + note.duration(), note.start(), INT_MAX));
    *starts++ = {order, sequence, static_cast<std::uint8_t>(0x90 | channel), key, velocity};
    ends_.push_back({orderOfTime(end) | place, sequence + 1,
                     static_cast<std::uint8_t>(0x80 | channel), key, velocity});
}

// The note-offs after the first `sorted` come in the order their notes start, mostly a place
// or two from their own, and an insertion sort puts them in quickly. Where long notes lie over
// many short ones they can come far out of order: past a budget of moves, they are sorted
// outright.
void TrackMessages::sortNewEnds(std::size_t sorted) {
    Message* const ends = ends_.data();
    const std::size_t count = ends_.size();
    std::size_t budget = 8 * (count - sorted);
    for (std::size_t i = std::max<std::size_t>(sorted, 1); i < count; ++i) {
        const Message end = ends[i];
        std::size_t j = i;
        // Each note-off comes after those before it in the track's order, so it goes before one
        // of them only by its sort key.
        for (; j > 0 && end.order < ends[j - 1].order; --j) {
            if (budget-- == 0) {
                ends[j] = end;
                std::sort(ends, ends + count, sortsBefore);
                return;
            }
            ends[j] = ends[j - 1];
        }
        ends[j] = end;
    }
}

void TrackMessages::sortWhole() {
    ready_.resize(track_.count());
    Message* starts = ready_.data();
    for (int i = 0; i < track_.count(); ++i) {
        const Element& element = *track_.at(i);
        if (element.time() >= fromTick_ && element.time() < toTick_) {
            read(element, i, orderOf(element), starts);
        }
    }
    ready_.resize(static_cast<std::size_t>(starts - ready_.data()));
    ready_.insert(ready_.end(), ends_.begin(), ends_.end());
    ends_.clear();
    std::sort(ready_.begin(), ready_.end(), sortsBefore);
    readyCount_ = ready_.size();
    sortedWhole_ = true;
    index_ = endIndex_;
}
