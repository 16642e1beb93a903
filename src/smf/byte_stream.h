#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A growing block of encoded MIDI bytes: one track of a file being written, or the merged
// stream that playback sends. Deltas are measured from lastTime, the tick of the last element
// encoded into it.
class ByteStream {
public:
    void appendByte(int value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    // A variable-length quantity: seven bits a byte, most significant group first. Values
    // are cut to the 28 bits that four bytes carry.
    void appendVlq(std::uint32_t value);
    void appendBytes(std::span<const std::uint8_t> bytes);
    // The low `count` bytes of value, most significant first.
    void appendBigEndian(std::uint32_t value, int count);
    void reserve(std::size_t bytes) { bytes_.reserve(bytes); }
    void clear();

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

    int lastTime = 0;

private:
    std::vector<std::uint8_t> bytes_;
};
