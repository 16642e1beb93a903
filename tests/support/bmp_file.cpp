#include "support/bmp_file.h"

namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::vector<std::uint8_t> BmpFile::bytes() const {
    std::vector<std::uint8_t> info;
    put(info, headerSize, 4);
    if (headerSize == 12) {
        put(info, static_cast<std::uint32_t>(width), 2);
        put(info, static_cast<std::uint32_t>(height), 2);
        put(info, 1, 2);
        put(info, bitsPerPixel, 2);
    } else {
        put(info, static_cast<std::uint32_t>(width), 4);
        put(info, static_cast<std::uint32_t>(height), 4);
        put(info, 1, 2);
        put(info, bitsPerPixel, 2);
        put(info, compression, 4);
        put(info, sizeImage, 4);
        put(info, 2835, 4);
        put(info, 2835, 4);
        put(info, coloursUsed, 4);
        put(info, 0, 4);
        if (headerSize > 40) {
            for (const std::uint32_t mask : masks) {
                put(info, mask, 4);
            }
        }
        info.resize(headerSize > 40 ? headerSize : info.size(), 0);
    }
    if (headerSize == 40) {
        for (const std::uint32_t mask : masks) {
            put(info, mask, 4);
        }
    }
    for (const std::uint32_t colour : colours) {
        put(info, colour, headerSize == 12 ? 3 : 4);
    }
    std::vector<std::uint8_t> file;
    if (fileHeader) {
        const std::size_t offset = 14 + info.size();
        file = {'B', 'M'};
        put(file, static_cast<std::uint32_t>(offset + bits.size()), 4);
        put(file, 0, 4);
        put(file, static_cast<std::uint32_t>(offset), 4);
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

std::string BmpFile::text() const {
    const std::vector<std::uint8_t> data = bytes();
    return std::string(data.begin(), data.end());
}

std::vector<std::uint8_t> BmpFile::rows(const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> out;
    for (const std::vector<std::uint8_t>& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}
