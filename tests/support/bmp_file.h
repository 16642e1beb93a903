#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A BMP file for a test, written field by field as it is set, so that a test can as easily
// write one that lies. bytes() lays it out: the 14-byte file header (unless left out), the
// info header of headerSize bytes, the masks after a 40-byte header or inside a 108-byte one,
// the colour table (3 bytes an entry after a 12-byte header, 4 otherwise), then bits.
struct BmpFile {
    bool fileHeader = true;
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;
    // 0xRRGGBB.
    std::vector<std::uint32_t> colours;
    std::vector<std::uint8_t> bits;

    std::vector<std::uint8_t> bytes() const;
    std::string text() const;

    // Rows of pixel bytes, each padded with zeros to whole 32-bit words, in the order given.
    static std::vector<std::uint8_t> rows(const std::vector<std::vector<std::uint8_t>>& rows);
};
