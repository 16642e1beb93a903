#pragma once

#include <cstdint>
#include <queue>
#include <vector>

class OMBData;
class Track;

// The messages of one track in the order a file and a play hold them: each note becomes a
// note-on at its start and a note-off at its end, each event itself, ordered by the track's
// sort key (time, position, accidental), ties in the order the track holds them, a note's
// note-off after its note-on. So a note that ends where the next note of its pitch starts is
// off before that one is on.
//
// A track is kept in order, so the note-ons and events are read as they stand and each
// note-off waits in a heap only while its note sounds: a pass over the track, with no sort of
// the whole. A track out of order (a state no edit should leave) is sorted instead.
//
// Whether it is in order is found before the first message, with a pass of its own, or, for a
// reader that reads the track from its first element anyway, as the elements are read: then a
// track found out of order stops short and says so, and its reader starts again with a check
// first.
class TrackMessages {
public:
    struct Message {
        // The sort key (time, position, accidental) packed into one number that orders the
        // same way; its lowest byte is zero.
        std::uint64_t order;
        // Twice the element's index in the track, plus one for a note-off.
        std::uint32_t sequence;
        int time;
        int end;                // a note-on's note-off time
        std::uint8_t status;    // 0x90 or 0x80 with the note's channel; 0 for an event
        std::uint8_t key;       // a note's key number
        std::uint8_t velocity;  // a note's velocity, 1-127

        bool isNote() const { return status != 0; }
        bool isNoteOn() const { return (status & 0xF0) == 0x90; }
        // The index of the element in its track.
        int index() const { return static_cast<int>(sequence / 2); }
    };

    static bool sortsBefore(const Message& a, const Message& b) {
        return a.order < b.order || (a.order == b.order && a.sequence < b.sequence);
    }

    enum class OrderCheck { First, AsRead };

    // The messages of the elements whose time lies in [fromTick, toTick); a note's note-off
    // comes with its note-on wherever the note ends.
    TrackMessages(const Track& track, const OMBData& song, std::int64_t fromTick,
                  std::int64_t toTick, OrderCheck check = OrderCheck::First);
    // The messages of the whole track.
    TrackMessages(const Track& track, const OMBData& song, OrderCheck check = OrderCheck::First);

    // The next message, or false when there is none left.
    bool next(Message& message);
    // True once a check as read has found the track out of order: the messages given are not
    // the track's, and they stop short of its end.
    bool foundOutOfOrder() const { return foundOutOfOrder_; }

private:
    struct SortsAfter {
        bool operator()(const Message& a, const Message& b) const { return sortsBefore(b, a); }
    };

    bool nextStart(Message& message);
    Message noteOff(const Message& noteOn) const;
    void sortWhole();

    const Track& track_;
    const OMBData& song_;
    std::int64_t fromTick_;
    std::int64_t toTick_;
    int index_ = 0;
    bool haveStart_ = false;
    Message start_{};
    std::priority_queue<Message, std::vector<Message>, SortsAfter> ends_;
    // Only for a track out of order: all its messages, sorted, and the next to give.
    std::vector<Message> sorted_;
    std::size_t sortedNext_ = 0;
    bool inOrder_ = true;
    bool checkAsRead_ = false;
    bool foundOutOfOrder_ = false;
};
