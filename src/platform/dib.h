#pragma once

#include <cstdint>
#include <vector>

// A device-independent bitmap as read from a BMP file: its size, its colour table and its rows
// of pixel bits, in the file's own depth (1, 4, 8, 16, 24 or 32 bits per pixel). The
// constructor trusts its arguments; DibReader checks them against the file first, so any pixel
// inside the picture can be asked for.
class Dib {
public:
    // Where each colour sits in a 16- or 32-bit pixel.
    struct Masks {
        std::uint32_t red = 0;
        std::uint32_t green = 0;
        std::uint32_t blue = 0;
    };

    // width and height in pixels, both at least 1; topDown when the first row in the bits is
    // the top one. colours are 0xRRGGBB. bits holds height rows of stride() bytes at least.
    Dib(int width, int height, bool topDown, int bitsPerPixel, Masks masks,
        std::vector<std::uint32_t> colours, std::vector<std::uint8_t> bits);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }

    // The colour (0xRRGGBB) of the pixel x columns from the left and y rows from the top;
    // 0 <= x < width(), 0 <= y < height(). A palette index past the colour table is black.
    // Pictures of 16 bits and more are shown in their own colours even when they carry a
    // colour table, which then only suggests a palette.
    std::uint32_t pixel(int x, int y) const;

    // Bytes per row in the bits: rows are padded to whole 32-bit words.
    static std::uint64_t stride(std::uint64_t width, int bitsPerPixel);

private:
    std::uint32_t indexedPixel(const std::uint8_t* row, int x) const;
    std::uint32_t maskedPixel(std::uint32_t value) const;

    int width_;
    int height_;
    bool topDown_;
    int bitsPerPixel_;
    Masks masks_;
    std::vector<std::uint32_t> colours_;
    std::vector<std::uint8_t> bits_;
    std::size_t stride_;
};
