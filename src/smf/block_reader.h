#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <span>

// Reads a stream front to back a block at a time, into one buffer that every block reuses: a
// large file is never held whole, and the buffer's memory is paid for once, not once per block.
class BlockReader {
public:
    explicit BlockReader(std::istream& in) : in_(in) {}

    // The next count bytes, or all that are left when fewer. They stay valid until the next
    // read. The buffer grows with what the stream really holds, not with what a file claims.
    std::span<const std::uint8_t> read(std::size_t count);
    // Passes over the next count bytes; false when fewer were left.
    bool skip(std::size_t count);

private:
    void grow(std::size_t capacity, std::size_t kept);

    std::istream& in_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
};
