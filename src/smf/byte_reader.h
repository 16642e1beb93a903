#pragma once

#include <cstdint>
#include <span>

// Reads a block of bytes front to back without ever passing its limit. Every read says
// whether it had the bytes; a read that fails consumes nothing.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes), limit_(bytes.size()) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return limit_ - position_; }
    bool atLimit() const { return position_ >= limit_; }
    // Narrows reading to the next `count` bytes (or to what there is). Returns the old limit
    // to hand back to restoreLimit.
    std::size_t narrowTo(std::size_t count);
    void restoreLimit(std::size_t limit) { limit_ = limit; }

    bool readByte(std::uint8_t& value) {
        if (atLimit()) {
            return false;
        }
        value = bytes_[position_++];
        return true;
    }
    // A variable-length quantity of at most four bytes.
    bool readVlq(std::uint32_t& value);
    bool readBigEndian(int count, std::uint32_t& value);
    bool readBytes(std::size_t count, std::span<const std::uint8_t>& bytes);
    bool skip(std::size_t count);
    // Gives back the byte just read.
    void unread() { --position_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t limit_;
    std::size_t position_ = 0;
};
