#include "smf/byte_stream.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes vlq(std::uint32_t value) {
    ByteStream out;
    out.appendVlq(value);
    return {out.bytes().begin(), out.bytes().end()};
}

// The lengths change at each seventh bit; a value past the 28 bits of four bytes keeps its
// low 28.
TEST(ByteStreamTest, VariableLengthQuantitiesAtEachLengthsEdges) {
    EXPECT_EQ(vlq(0), (Bytes{0x00}));
    EXPECT_EQ(vlq(0x7F), (Bytes{0x7F}));
    EXPECT_EQ(vlq(0x80), (Bytes{0x81, 0x00}));
    EXPECT_EQ(vlq(0x2345), (Bytes{0xC6, 0x45}));
    EXPECT_EQ(vlq(0x3FFF), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(vlq(0x4000), (Bytes{0x81, 0x80, 0x00}));
    EXPECT_EQ(vlq(0x1FFFFF), (Bytes{0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(vlq(0x200000), (Bytes{0x81, 0x80, 0x80, 0x00}));
    EXPECT_EQ(vlq(0x0FFFFFFF), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(vlq(0x10000080), (Bytes{0x81, 0x00}));
}

// Appends and writes into the room made, many times over, so that the stream grows between
// them; a writer may write more than it keeps.
TEST(ByteStreamTest, AppendsKeepTheirBytesAsTheStreamGrows) {
    ByteStream out;
    Bytes expected;
    for (int i = 0; i < 5000; ++i) {
        out.appendVlq(static_cast<std::uint32_t>(i % 300));
        if (i % 300 < 0x80) {
            expected.push_back(static_cast<std::uint8_t>(i % 300));
        } else {
            expected.push_back(static_cast<std::uint8_t>(0x80 | (i % 300) >> 7));
            expected.push_back(static_cast<std::uint8_t>(i % 300 & 0x7F));
        }
        const int count = i % 5;
        std::uint8_t* const at = out.room(4);
        for (int b = 0; b < 4; ++b) {
            at[b] = static_cast<std::uint8_t>(b + 1);
        }
        out.wroteUpTo(at + count);
        for (int b = 1; b <= count; ++b) {
            expected.push_back(static_cast<std::uint8_t>(b));
        }
    }
    EXPECT_EQ(Bytes(out.bytes().begin(), out.bytes().end()), expected);
}

}  // namespace
