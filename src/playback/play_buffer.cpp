#include "playback/play_buffer.h"

#include <algorithm>

std::uint8_t PlayBuffer::byteAt(int offset) const {
    return offset >= 0 && offset < length() ? bytes.bytes()[offset] : 0;
}

std::uint32_t PlayBuffer::readVlq(int& offset) const {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t byte = byteAt(offset++);
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            break;
        }
    }
    return value;
}

std::span<const std::uint8_t> PlayBuffer::bytesAt(int offset, std::uint32_t count) const {
    if (offset < 0 || offset >= length()) {
        return {};
    }
    return bytes.bytes().subspan(offset, std::min<std::size_t>(count, length() - offset));
}

PlayBuffer::BarStart PlayBuffer::barStart(int bar) const {
    const auto after = std::upper_bound(
        barStarts_.begin(), barStarts_.end(), bar,
        [](int wanted, const IndexedBar& indexed) { return wanted < indexed.bar; });
    return after == barStarts_.begin() ? BarStart{} : std::prev(after)->start;
}

void PlayBuffer::addNoteMessage(int bar, BarStart start) {
    if (bar <= lastBar_) {
        return;
    }
    if (bar > 1) {
        barStarts_.push_back({bar, start});
    }
    lastBar_ = bar;
}

void PlayBuffer::clear() {
    *this = PlayBuffer();
}
