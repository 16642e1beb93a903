#include "smf/block_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kFirstCapacity = 64 * 1024;

}  // namespace

std::span<const std::uint8_t> BlockReader::read(std::size_t count) {
    std::size_t size = 0;
    while (size < count) {
        if (size == capacity_) {
            grow(std::min(count, std::max(kFirstCapacity, 2 * capacity_)), size);
        }
        const std::size_t wanted = std::min(count, capacity_) - size;
        in_.read(reinterpret_cast<char*>(buffer_.get() + size),
                 static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(in_.gcount());
        size += got;
        if (got < wanted) {
            break;
        }
    }
    return {buffer_.get(), size};
}

bool BlockReader::skip(std::size_t count) {
    in_.ignore(static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in_.gcount()) == count;
}

// The new room is not cleared: every byte of it is read into before it is used.
void BlockReader::grow(std::size_t capacity, std::size_t kept) {
    auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    if (kept > 0) {
        std::memcpy(grown.get(), buffer_.get(), kept);
    }
    buffer_ = std::move(grown);
    capacity_ = capacity;
}
