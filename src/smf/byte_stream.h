#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

// A growing block of encoded MIDI bytes: one track of a file being written, or the merged
// stream that playback sends. Deltas are measured from lastTime, the tick of the last element
// encoded into it. A save or a play start writes millions of bytes a few at a time, so the
// appends are inline and check the room once each.
class ByteStream {
public:
    ByteStream() = default;
    ByteStream(const ByteStream& other);
    ByteStream& operator=(const ByteStream& other);
    // A stream moved from is empty.
    ByteStream(ByteStream&& other) noexcept;
    ByteStream& operator=(ByteStream&& other) noexcept;

    void appendByte(int value) {
        makeRoom(1);
        bytes_[size_++] = static_cast<std::uint8_t>(value);
    }
    // A variable-length quantity: seven bits a byte, most significant group first. Values
    // are cut to the 28 bits that four bytes carry.
    void appendVlq(std::uint32_t value) {
        makeRoom(kLongestVlq);
        size_ = static_cast<std::size_t>(writeVlq(bytes_.get() + size_, value) - bytes_.get());
    }
    static constexpr std::size_t kLongestVlq = 4;
    // Writes a variable-length quantity at `at`, which has room for the longest, and returns
    // the end of it.
    static std::uint8_t* writeVlq(std::uint8_t* at, std::uint32_t value) {
        if (value >= 0x4000) {
            return writeLongVlq(at, value);
        }
        // Most deltas of a song take one byte or two, in no order a branch could predict:
        // both bytes are written, and the second counted only when needed.
        const std::uint32_t two = value >= 0x80 ? 1 : 0;
        at[0] = static_cast<std::uint8_t>(value >> (7 * two) | two << 7);
        at[1] = static_cast<std::uint8_t>(value & 0x7F);
        return at + 1 + two;
    }
    // A message of a status byte and two data bytes.
    void appendMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        makeRoom(3);
        bytes_[size_] = status;
        bytes_[size_ + 1] = data1;
        bytes_[size_ + 2] = data2;
        size_ += 3;
    }
    void appendBytes(std::span<const std::uint8_t> bytes) {
        if (!bytes.empty()) {
            makeRoom(bytes.size());
            std::memcpy(bytes_.get() + size_, bytes.data(), bytes.size());
            size_ += bytes.size();
        }
    }
    // The low `count` bytes of value, most significant first.
    void appendBigEndian(std::uint32_t value, int count);
    void reserve(std::size_t bytes);
    // Room for count more bytes, for a writer of many short messages that checks the room once
    // for all of them: it writes through the pointer given and then says where it stopped.
    std::uint8_t* room(std::size_t count) {
        makeRoom(count);
        return bytes_.get() + size_;
    }
    void wroteUpTo(const std::uint8_t* end) { size_ = static_cast<std::size_t>(end - bytes_.get()); }
    void clear();

    std::span<const std::uint8_t> bytes() const { return {bytes_.get(), size_}; }
    std::size_t size() const { return size_; }

    int lastTime = 0;

private:
    void makeRoom(std::size_t count) {
        if (capacity_ - size_ < count) {
            reserve(size_ + count);
        }
    }
    static std::uint8_t* writeLongVlq(std::uint8_t* at, std::uint32_t value);

    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
