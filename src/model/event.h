#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "model/element.h"

// Every MIDI message of a track that is not a note: channel messages other than notes,
// system messages, system exclusive, and every meta event but the end of a track. What
// data1-data3 mean depends on the status: for a meta event data1 is its type; for a tempo data2
// is quarter notes per minute; for a time signature data2 is the numerator (1-255) and data3
// the beat unit as a note value (a power of two, 1-64); for a key signature data2 is the sharps
// (-7 to 7, flats negative) and data3 the mode (0 major, 1 minor); for a system-exclusive
// message and every other meta event the owned block holds its bytes and data3 their number.
class Event : public Element {
public:
    static constexpr int kStatusProgramChange = 0xC0;
    static constexpr int kStatusSystemExclusive = 0xF0;
    static constexpr int kStatusMeta = 0xFF;
    static constexpr int kMetaText = 1;
    static constexpr int kMetaTrackName = 3;
    static constexpr int kMetaEndOfTrack = 0x2F;
    static constexpr int kMetaTempo = 0x51;
    static constexpr int kMetaTimeSignature = 0x58;
    static constexpr int kMetaKeySignature = 0x59;
    static constexpr int kMetaSynthSpecific = 0x7F;

    // Tempo as a file states it, microseconds per quarter note, and as the song shows it:
    // whole quarter notes per minute, truncated both ways; 0 stands for no tempo. The bpm of
    // usPerQuarterOf(bpm) is bpm again. Below 4 bpm the microseconds exceed the three bytes
    // a file holds.
    static int bpmOf(std::uint32_t usPerQuarter);
    // Whether a file keeps a message of this status as an event: channel messages other than
    // notes, system exclusive and its packets, song position, song select, tune request, timing
    // clock, active sensing and meta events. Other system bytes are not kept by a load.
    static bool fileKeeps(int status);
    // Whether a kept message of this status carries two data bytes: key pressure, controllers,
    // pitch bends and song position. Inline: a save asks it of every event.
    static bool hasTwoDataBytes(int status) {
        return (status >= 0xA0 && status < 0xC0) || (status >= 0xE0 && status < 0xF0) ||
               status == 0xF2;
    }
    static std::uint32_t usPerQuarterOf(int bpm);

    // The event keeps its own copy of data.
    Event(int time, int status, std::span<const std::uint8_t> data, int data1, int data2,
          int data3);
    Event(const Event& other);
    Event& operator=(const Event&) = delete;

    int time() const { return time_; }
    int status() const { return status_; }
    int data1() const { return data1_; }
    int data2() const { return data2_; }
    int data3() const { return data3_; }
    // The owned block; empty when the event keeps none.
    std::span<const std::uint8_t> data() const;
    bool hasData() const { return block_ != nullptr; }

    bool isMeta(int type) const { return status_ == kStatusMeta && data1_ == type; }
    bool isProgramChange() const { return (status_ & 0xF0) == kStatusProgramChange; }

    void setData1(int data1) { data1_ = narrowData1(data1); }
    void setData2(int data2) { data2_ = data2; }
    void setData3(int data3) { data3_ = data3; }

    // A tempo meta read from a file keeps the file's exact tempo beside its whole bpm (data2).
    void setFileTempo(std::uint32_t usPerQuarter) { fileDetail_ = usPerQuarter; }
    // Microseconds per quarter note of a tempo meta: the file's exact value while data2 is still
    // the bpm read with it, else the value of data2; 0 when data2 is not positive.
    std::uint32_t usPerQuarter() const;
    // Replaces the block by the text and sets data3 to its length; an empty text leaves
    // the event without a block.
    void setData(std::string_view text);

    // A time signature keeps the metronome bytes its file gave (MIDI clocks per click, 32nd
    // notes per quarter), which the song does not show but another program may use.
    void setMetronome(std::uint8_t clocksPerClick, std::uint8_t thirtySecondsPerQuarter);
    // Those bytes, or the ones the program writes for a signature of its own (0x24, 0x08).
    std::array<std::uint8_t, 2> metronome() const;

private:
    void copyData(std::span<const std::uint8_t> data);
    static std::int16_t narrowData1(int value) {
        return static_cast<std::int16_t>(std::clamp(value, INT16_MIN, INT16_MAX));
    }

    // A song holds hundreds of thousands of events and most carry no block, so an event is
    // kept to 40 bytes: the status is a byte, the first value (a data byte or a meta type)
    // is narrow, and a block carries its own size in front of its bytes.
    std::uint8_t status_;
    std::int16_t data1_;
    int data2_;
    int data3_;
    // What a meta read from a file said beyond its data values: a tempo's microseconds per
    // quarter, a time signature's metronome bytes with kHasMetronome; 0: nothing.
    static constexpr std::uint32_t kHasMetronome = 1u << 16;
    std::uint32_t fileDetail_ = 0;
    // kBlockHeader bytes of size, then the bytes; null when there are none.
    static constexpr std::size_t kBlockHeader = sizeof(std::uint32_t);
    std::unique_ptr<std::uint8_t[]> block_;
};
