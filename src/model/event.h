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
    std::unique_ptr<std::uint8_t[]> data_;
};
