#pragma once

#include <cstdint>
#include <span>

// Reads a block of bytes front to back without ever passing its end. Every read says
// whether it had the bytes; a read that fails consumes nothing.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ >= bytes_.size(); }

    bool readByte(std::uint8_t& value) {
        if (atEnd()) {
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
    std::size_t position_ = 0;
};
