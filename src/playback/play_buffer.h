#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "smf/byte_stream.h"

// What a play sends: the messages of the tracks that take part, merged in time order, each a
// delta time in ticks and the message bytes (the play format), and an index of where each bar
// starts in them. Ticks and bars count from the start of the buffer: tick 0 and bar 1 are the
// first tick and bar the buffer was built from.
//
// Play format: as in a MIDI file track, without running status, with two differences: a
// note-on carries the number of its track (0-15) between its status and its key, and of the
// meta events only the tempo is written. Note-offs carry the note's own velocity.
class PlayBuffer {
public:
    // Where playing a bar starts: the tick of the first note message in the bar and the
    // offset of that message.
    struct BarStart {
        int tick = 0;
        int offset = 0;
    };

    ByteStream bytes;

    int length() const { return static_cast<int>(bytes.size()); }
    bool empty() const { return bytes.size() == 0; }
    // The byte at offset; 0 outside the buffer, so a read past the last message finds a delta
    // of 0.
    std::uint8_t byteAt(int offset) const;
    // The variable-length quantity at offset, which moves past it.
    std::uint32_t readVlq(int& offset) const;
    // The bytes from offset on, at most count of them.
    std::span<const std::uint8_t> bytesAt(int offset, std::uint32_t count) const;

    // The highest bar holding a note message; 0 when there is none.
    int lastBar() const { return lastBar_; }
    // The start of bar (1 to lastBar()). A bar without notes starts where the last bar before
    // it with notes does; bars before the first note start at the beginning.
    BarStart barStart(int bar) const;
    // Records a note message of bar (never below the bar of the one before) at start. The
    // first of each bar after bar 1 starts that bar; bar 1 starts at the beginning.
    void addNoteMessage(int bar, BarStart start);

    void clear();

private:
    struct IndexedBar {
        int bar;
        BarStart start;
    };

    // Only bars that start with a note are kept, in order, so a song that runs to a huge
    // bar number costs no more than its notes.
    std::vector<IndexedBar> barStarts_;
    int lastBar_ = 0;
};
