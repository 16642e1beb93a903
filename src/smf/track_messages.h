#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class Element;
class OMBData;
class Track;

// The messages of one track in the order a file and a play hold them: each note becomes a
// note-on at its start and a note-off at its end, each event itself, ordered by the track's
// sort key (time, position, accidental), ties in the order the track holds them, a note's
// note-off after its note-on. So a note that ends where the next note of its pitch starts is
// off before that one is on.
//
// A track is kept in order, so the note-ons and events are read as they stand, a batch of
// elements at a time. Their note-offs come in the order their notes start, which is nearly
// their own: they are sorted with the ones still waiting, and each batch is merged with the
// note-offs that sort before its last start; the rest wait for the next batch. A track out of
// order (a state no edit should leave) is sorted whole instead.
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
        // A note's message is complete here: 0x90 or 0x80 with its channel, its key and its
        // velocity (1-127). So is an event's of a status and two data bytes, which are most of
        // a song's events, so that a save or a play need not go back to the element for them.
        // Any other event has status 0 and is encoded from its element.
        std::uint8_t status;
        std::uint8_t key;       // a note's key number, or the first data byte
        std::uint8_t velocity;  // a note's velocity, or the second data byte

        // The note's or event's tick, which leads the order.
        int time() const {
            return static_cast<int>(static_cast<std::uint32_t>(order >> 32) ^ 0x80000000U);
        }
        bool isComplete() const { return status != 0; }
        bool isNote() const { return (status & 0xE0) == 0x80; }
        bool isNoteOn() const { return (status & 0xF0) == 0x90; }
        bool isNoteOff() const { return (status & 0xF0) == 0x80; }
        // The index of the element in its track.
        int index() const { return static_cast<int>(sequence / 2); }
    };

    static bool sortsBefore(const Message& a, const Message& b) {
        return a.order < b.order || (a.order == b.order && a.sequence < b.sequence);
    }

    enum class OrderCheck { First, AsRead };

    // Elements read at a time: enough that the work per batch is small beside its messages,
    // few enough that the batches of all tracks of a play stay in the cache.
    static constexpr int kBatchElements = 256;

    // The messages of the elements whose time lies in [fromTick, toTick); a note's note-off
    // comes with its note-on wherever the note ends.
    TrackMessages(const Track& track, const OMBData& song, std::int64_t fromTick,
                  std::int64_t toTick, OrderCheck check = OrderCheck::First);
    // The messages of the whole track.
    TrackMessages(const Track& track, const OMBData& song, OrderCheck check = OrderCheck::First);

    // The next messages in order, none once the track has given all; they stay valid until
    // the next call.
    std::span<const Message> nextBatch();
    // True once a check as read has found the track out of order: the messages given are not
    // the track's, and they stop short of its end.
    bool foundOutOfOrder() const { return foundOutOfOrder_; }

private:
    Message* readElements(std::size_t waitingEnds);
    // The note-on or event of the element, whose sort key is order, and the note's note-off
    // onto ends_.
    void read(const Element& element, int index, std::uint64_t order, Message*& starts);
    void mergeWithEnds(const Message* startsEnd);
    void sortNewEnds(std::size_t sorted);
    void sortWhole();

    const Track& track_;
    const OMBData& song_;
    std::int64_t fromTick_;
    std::int64_t toTick_;
    int index_ = 0;
    int endIndex_ = 0;
    // The messages of the batch given, in order, in the first readyCount_.
    std::vector<Message> ready_;
    std::size_t readyCount_ = 0;
    std::vector<Message> starts_;
    // The note-offs of notes read, sorted, that wait for a later batch.
    std::vector<Message> ends_;
    // A track out of order, sorted whole, waits to give it all in one batch.
    bool sortedWhole_ = false;
    bool checkAsRead_ = false;
    // The sort key of the element read last, in a check as read.
    std::uint64_t lastOrder_ = 0;
    bool foundOutOfOrder_ = false;
};
