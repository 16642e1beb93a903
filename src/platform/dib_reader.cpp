#include "platform/dib_reader.h"

#include <fstream>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
// Where a 108-byte header keeps its red, green and blue masks.
constexpr std::size_t kV4MasksOffset = 40;

// The fields of any of the three info headers, widened to the 40-byte one's.
struct InfoHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t coloursUsed = 0;
    // The whole header as it stands in the file.
    std::span<const std::uint8_t> bytes;
};

// Reads little-endian fields front to back; a read past the end fails and leaves `ok` false
// for good, so a parser can read a whole header and check once.
class LittleEndian {
public:
    explicit LittleEndian(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    bool ok() const { return ok_; }
    // count: 1 to 4 bytes.
    std::uint32_t read(int count) {
        if (!ok_ || remaining() < static_cast<std::size_t>(count)) {
            ok_ = false;
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value |= static_cast<std::uint32_t>(bytes_[position_++]) << (8 * i);
        }
        return value;
    }
    std::span<const std::uint8_t> take(std::size_t count) {
        if (!ok_ || remaining() < count) {
            ok_ = false;
            return {};
        }
        position_ += count;
        return bytes_.subspan(position_ - count, count);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

bool startsWithFileHeader(std::span<const std::uint8_t> file) {
    return file[0] == 'B' && file[1] == 'M';
}

// The header's size comes first; the whole header must be in the file.
std::optional<InfoHeader> readHeader(LittleEndian& in) {
    LittleEndian sizeField = in;
    InfoHeader header;
    header.size = sizeField.read(4);
    if (header.size != kCoreHeaderSize && header.size != kInfoHeaderSize &&
        header.size != kV4HeaderSize) {
        return std::nullopt;
    }
    header.bytes = in.take(header.size);
    LittleEndian fields(header.bytes);
    fields.read(4);
    if (header.size == kCoreHeaderSize) {
        header.width = fields.read(2);
        header.height = fields.read(2);
        fields.read(2);  // planes
        header.bitsPerPixel = static_cast<int>(fields.read(2));
    } else {
        header.width = static_cast<std::int32_t>(fields.read(4));
        header.height = static_cast<std::int32_t>(fields.read(4));
        fields.read(2);  // planes
        header.bitsPerPixel = static_cast<int>(fields.read(2));
        header.compression = fields.read(4);
        header.sizeImage = fields.read(4);
        fields.take(8);  // pixels per metre
        header.coloursUsed = fields.read(4);
    }
    if (!in.ok()) {
        return std::nullopt;
    }
    return header;
}

bool isDrawable(const InfoHeader& header) {
    const int depth = header.bitsPerPixel;
    const bool knownDepth =
        depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    const bool knownLayout = header.compression == kRgb ||
                             (header.compression == kBitFields && (depth == 16 || depth == 32));
    // The lowest height is refused too: its top-down size does not fit in 32 bits.
    return knownDepth && knownLayout && header.width > 0 && header.height != 0 &&
           header.height != std::numeric_limits<std::int32_t>::min();
}

Dib::Masks defaultMasks(int bitsPerPixel) {
    if (bitsPerPixel == 16) {
        return {0x7C00, 0x03E0, 0x001F};
    }
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

// The masks of a BI_BITFIELDS picture follow a 40-byte header and sit inside a 108-byte one.
std::optional<Dib::Masks> readMasks(LittleEndian& in, const InfoHeader& header) {
    if (header.compression != kBitFields) {
        return defaultMasks(header.bitsPerPixel);
    }
    LittleEndian inHeader(header.bytes.subspan(kV4MasksOffset));
    LittleEndian& from = header.size == kV4HeaderSize ? inHeader : in;
    Dib::Masks masks;
    masks.red = from.read(4);
    masks.green = from.read(4);
    masks.blue = from.read(4);
    if (!from.ok()) {
        return std::nullopt;
    }
    return masks;
}

std::uint64_t colourCount(const InfoHeader& header) {
    if (header.coloursUsed != 0) {
        return header.coloursUsed;
    }
    return header.bitsPerPixel <= 8 ? std::uint64_t{1} << header.bitsPerPixel : 0;
}

// Entries are blue, green, red and (except in a core header's table) one spare byte.
std::optional<std::vector<std::uint32_t>> readColours(LittleEndian& in, const InfoHeader& header) {
    const std::size_t entrySize = header.size == kCoreHeaderSize ? 3 : 4;
    const std::uint64_t count = colourCount(header);
    if (count > in.remaining() / entrySize) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(count));
    for (std::uint32_t& colour : colours) {
        // Blue, green and red read little-endian are 0xRRGGBB.
        colour = in.read(3);
        in.take(entrySize - 3);
    }
    return colours;
}

// The rows of pixels. A stated image size of 0 means "as large as the rows"; any other must
// cover the rows and lie within the file.
std::optional<std::vector<std::uint8_t>> readBits(LittleEndian& in, const InfoHeader& header) {
    const std::uint64_t rows =
        static_cast<std::uint64_t>(header.height < 0 ? -header.height : header.height);
    const std::uint64_t stride =
        Dib::stride(static_cast<std::uint64_t>(header.width), header.bitsPerPixel);
    // A width below 2^31 at 32 bits keeps the stride below 2^34 and rows stay below 2^31, so
    // the product cannot overflow.
    const std::uint64_t needed = stride * rows;
    if (needed > in.remaining() || header.sizeImage > in.remaining() ||
        (header.sizeImage != 0 && header.sizeImage < needed)) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> bits = in.take(static_cast<std::size_t>(needed));
    return std::vector<std::uint8_t>(bits.begin(), bits.end());
}

}  // namespace

std::optional<Dib> DibReader::read(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize) {
        return std::nullopt;
    }
    LittleEndian in(file.subspan(startsWithFileHeader(file) ? kFileHeaderSize : 0));
    const std::optional<InfoHeader> header = readHeader(in);
    if (!header || !isDrawable(*header)) {
        return std::nullopt;
    }
    const std::optional<Dib::Masks> masks = readMasks(in, *header);
    if (!masks) {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint32_t>> colours = readColours(in, *header);
    if (!colours) {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bits = readBits(in, *header);
    if (!bits) {
        return std::nullopt;
    }
    return Dib(static_cast<int>(header->width),
               static_cast<int>(header->height < 0 ? -header->height : header->height),
               header->height < 0, header->bitsPerPixel, *masks, std::move(*colours),
               std::move(*bits));
}

std::optional<Dib> DibReader::readFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    try {
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                              std::istreambuf_iterator<char>());
        return read(bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
