#include "platform/dib.h"

#include <bit>
#include <utility>

namespace {

// One colour of a masked pixel, scaled from the mask's width to 0..255. The masks are not
// required to be contiguous: a gap only makes the scale coarser.
std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const std::uint64_t top = mask >> shift;
    const std::uint64_t level = (value & mask) >> shift;
    return static_cast<std::uint32_t>((level * 255 + top / 2) / top);
}

}  // namespace

Dib::Dib(int width, int height, bool topDown, int bitsPerPixel, Masks masks,
         std::vector<std::uint32_t> colours, std::vector<std::uint8_t> bits)
    : width_(width),
      height_(height),
      topDown_(topDown),
      bitsPerPixel_(bitsPerPixel),
      masks_(masks),
      colours_(std::move(colours)),
      bits_(std::move(bits)),
      stride_(static_cast<std::size_t>(stride(static_cast<std::uint64_t>(width), bitsPerPixel))) {}

std::uint64_t Dib::stride(std::uint64_t width, int bitsPerPixel) {
    return (width * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::uint32_t Dib::pixel(int x, int y) const {
    const int row = topDown_ ? y : height_ - 1 - y;
    const std::uint8_t* bytes = bits_.data() + static_cast<std::size_t>(row) * stride_;
    switch (bitsPerPixel_) {
        case 16:
            bytes += 2 * static_cast<std::size_t>(x);
            return maskedPixel(bytes[0] | bytes[1] << 8);
        case 24:
            bytes += 3 * static_cast<std::size_t>(x);
            return static_cast<std::uint32_t>(bytes[2] << 16 | bytes[1] << 8 | bytes[0]);
        case 32:
            bytes += 4 * static_cast<std::size_t>(x);
            return maskedPixel(
                static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
                static_cast<std::uint32_t>(bytes[3]) << 24);
        default:
            return indexedPixel(bytes, x);
    }
}

std::uint32_t Dib::indexedPixel(const std::uint8_t* row, int x) const {
    // The leftmost pixel sits in the highest bits of its byte.
    const int pixelsPerByte = 8 / bitsPerPixel_;
    const std::uint8_t byte = row[x / pixelsPerByte];
    const int shift = (pixelsPerByte - 1 - x % pixelsPerByte) * bitsPerPixel_;
    const std::size_t index = (byte >> shift) & ((1u << bitsPerPixel_) - 1);
    return index < colours_.size() ? colours_[index] : 0;
}

std::uint32_t Dib::maskedPixel(std::uint32_t value) const {
    return channel(value, masks_.red) << 16 | channel(value, masks_.green) << 8 |
           channel(value, masks_.blue);
}
