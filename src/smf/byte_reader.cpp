#include "smf/byte_reader.h"

bool ByteReader::readVlq(std::uint32_t& value) {
    const std::size_t start = position_;
    value = 0;
    for (int i = 0; i < 4; ++i) {
        std::uint8_t byte;
        if (!readByte(byte)) {
            break;
        }
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            return true;
        }
    }
    position_ = start;
    return false;
}

bool ByteReader::readBigEndian(int count, std::uint32_t& value) {
    if (remaining() < static_cast<std::size_t>(count)) {
        return false;
    }
    value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes_[position_++];
    }
    return true;
}

bool ByteReader::readBytes(std::size_t count, std::span<const std::uint8_t>& bytes) {
    if (remaining() < count) {
        return false;
    }
    bytes = bytes_.subspan(position_, count);
    position_ += count;
    return true;
}

bool ByteReader::skip(std::size_t count) {
    if (remaining() < count) {
        return false;
    }
    position_ += count;
    return true;
}
