#include "smf/byte_stream.h"

void ByteStream::appendVlq(std::uint32_t value) {
    value &= 0x0FFFFFFF;
    std::uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1) {
        appendByte(groups[--count] | 0x80);
    }
    appendByte(groups[0]);
}

void ByteStream::appendBytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ByteStream::appendBigEndian(std::uint32_t value, int count) {
    for (int shift = (count - 1) * 8; shift >= 0; shift -= 8) {
        appendByte((value >> shift) & 0xFF);
    }
}

void ByteStream::clear() {
    bytes_.clear();
    lastTime = 0;
}
