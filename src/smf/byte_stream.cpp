#include "smf/byte_stream.h"

#include <algorithm>

ByteStream::ByteStream(const ByteStream& other) : lastTime(other.lastTime) {
    appendBytes(other.bytes());
}

ByteStream& ByteStream::operator=(const ByteStream& other) {
    if (this != &other) {
        clear();
        appendBytes(other.bytes());
        lastTime = other.lastTime;
    }
    return *this;
}

ByteStream::ByteStream(ByteStream&& other) noexcept
    : lastTime(std::exchange(other.lastTime, 0)),
      bytes_(std::move(other.bytes_)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteStream& ByteStream::operator=(ByteStream&& other) noexcept {
    lastTime = std::exchange(other.lastTime, 0);
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
}

std::uint8_t* ByteStream::writeLongVlq(std::uint8_t* at, std::uint32_t value) {
    value &= 0x0FFFFFFF;
    std::uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1) {
        *at++ = groups[--count] | 0x80;
    }
    *at++ = groups[0];
    return at;
}

void ByteStream::appendBigEndian(std::uint32_t value, int count) {
    for (int shift = (count - 1) * 8; shift >= 0; shift -= 8) {
        appendByte((value >> shift) & 0xFF);
    }
}

// Grows geometrically, so appending byte by byte stays linear; the new room is not cleared,
// since every byte of it is written before it is read.
void ByteStream::reserve(std::size_t bytes) {
    if (bytes <= capacity_) {
        return;
    }
    const std::size_t capacity = std::max(bytes, 2 * capacity_);
    auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    if (size_ > 0) {
        std::memcpy(grown.get(), bytes_.get(), size_);
    }
    bytes_ = std::move(grown);
    capacity_ = capacity;
}

void ByteStream::clear() {
    size_ = 0;
    lastTime = 0;
}
