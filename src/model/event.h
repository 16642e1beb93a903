#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "model/element.h"

// Every MIDI message of a track that is not a note: channel messages other than notes,
// system messages, system exclusive, and the meta events the song keeps. What data1-data3
// mean depends on the status (for a tempo meta, data2 is quarter notes per minute; for a
// system-exclusive or text event, data3 is the length of the owned data block).
class Event : public Element {
public:
    static constexpr int kStatusProgramChange = 0xC0;
    static constexpr int kStatusSystemExclusive = 0xF0;
    static constexpr int kStatusMeta = 0xFF;
    static constexpr int kMetaText = 1;
    static constexpr int kMetaTrackName = 3;
    static constexpr int kMetaTempo = 0x51;
    static constexpr int kMetaTimeSignature = 0x58;
    static constexpr int kMetaKeySignature = 0x59;
    static constexpr int kMetaSynthSpecific = 0x7F;

    // Tempo as a file states it, microseconds per quarter note, and as the song shows it:
    // whole quarter notes per minute, truncated both ways; 0 stands for no tempo. The bpm of
    // usPerQuarterOf(bpm) is bpm again. Below 4 bpm the microseconds exceed the three bytes
    // a file holds.
    static int bpmOf(std::uint32_t usPerQuarter);
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
    std::span<const std::uint8_t> data() const { return {data_.get(), dataSize_}; }
    bool hasData() const { return dataSize_ != 0; }

    bool isMeta(int type) const { return status_ == kStatusMeta && data1_ == type; }
    bool isProgramChange() const { return (status_ & 0xF0) == kStatusProgramChange; }

    void setData1(int data1) { data1_ = data1; }
    void setData2(int data2) { data2_ = data2; }

    // A tempo meta read from a file keeps the file's exact tempo beside its whole bpm (data2).
    void setFileTempo(std::uint32_t usPerQuarter) { fileUsPerQuarter_ = usPerQuarter; }
    // Microseconds per quarter note of a tempo meta: the file's exact value while data2 is still
    // the bpm read with it, else the value of data2; 0 when data2 is not positive.
    std::uint32_t usPerQuarter() const;
    // Replaces the block by the text and sets data3 to its length; an empty text leaves
    // the event without a block.
    void setData(std::string_view text);

private:
    void copyData(std::span<const std::uint8_t> data);

    // A song holds hundreds of thousands of events and most carry no block: a bare pointer
    // and size keep each event small.
    int status_;
    int data1_;
    int data2_;
    int data3_;
    std::uint32_t dataSize_ = 0;
    std::uint32_t fileUsPerQuarter_ = 0;  // 0: none
    std::unique_ptr<std::uint8_t[]> data_;
};
