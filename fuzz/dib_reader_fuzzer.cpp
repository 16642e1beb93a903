#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/dib_reader.h"

// Every pixel is folded into this, so the compiler cannot drop the reads.
std::uint32_t pixelsSeen;

// One input is one about.bmp. A picture that reads is drawn whole, as the About box would, so
// every pixel's reach into the rows and the colour table is checked too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<Dib> dib = DibReader::read(std::span<const std::uint8_t>(data, size));
    if (!dib) {
        return 0;
    }
    for (int y = 0; y < dib->height(); ++y) {
        for (int x = 0; x < dib->width(); ++x) {
            pixelsSeen ^= dib->pixel(x, y);
        }
    }
    return 0;
}
