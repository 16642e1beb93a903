#include "platform/dib_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "support/bmp_file.h"
#include "support/scratch_dir.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBitFields = 3;

std::optional<Dib> read(const BmpFile& file) {
    return DibReader::read(file.bytes());
}

// The picture's pixels, top row first.
std::vector<std::vector<std::uint32_t>> pixels(const Dib& dib) {
    std::vector<std::vector<std::uint32_t>> rows(dib.height());
    for (int y = 0; y < dib.height(); ++y) {
        for (int x = 0; x < dib.width(); ++x) {
            rows[y].push_back(dib.pixel(x, y));
        }
    }
    return rows;
}

std::vector<std::vector<std::uint32_t>> pixelsOf(const BmpFile& file) {
    const std::optional<Dib> dib = read(file);
    EXPECT_TRUE(dib.has_value());
    return dib ? pixels(*dib) : std::vector<std::vector<std::uint32_t>>{};
}

// 3 x 2 at 24 bits: red, green, blue over white, white, black; rows bottom-up.
BmpFile trueColour() {
    BmpFile file;
    file.width = 3;
    file.height = 2;
    file.bits = BmpFile::rows(
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0}, {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0}});
    return file;
}

const std::vector<std::vector<std::uint32_t>> kTrueColourPixels = {{kRed, kGreen, kBlue},
                                                                   {kWhite, kWhite, 0}};

// A 256-entry table whose entry i is a colour no other entry has.
std::vector<std::uint32_t> grey256() {
    std::vector<std::uint32_t> colours;
    for (std::uint32_t i = 0; i < 256; ++i) {
        colours.push_back(i << 16 | (255 - i) << 8 | i / 2);
    }
    return colours;
}

TEST(DibReaderTest, CoreHeaderWidensItsThreeByteColourTable) {
    BmpFile file;
    file.headerSize = 12;
    file.width = 3;
    file.height = 2;
    file.bitsPerPixel = 8;
    file.colours = grey256();
    file.bits = BmpFile::rows({{0, 1, 2}, {253, 254, 255}});
    const auto table = grey256();
    EXPECT_EQ(pixelsOf(file),
              (std::vector<std::vector<std::uint32_t>>{{table[253], table[254], table[255]},
                                                       {table[0], table[1], table[2]}}));
}

TEST(DibReaderTest, PaletteDepthsTakeTheirPixelsFromTheHighBitsFirst) {
    BmpFile file;
    file.height = 1;
    file.colours = {kRed, kGreen, kBlue, kWhite};
    file.coloursUsed = 4;

    file.bitsPerPixel = 1;
    file.width = 10;  // two bytes: the second holds the last two pixels
    file.bits = BmpFile::rows({{0b10110000, 0b01000000}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kGreen, kRed, kGreen, kGreen, kRed,
                                                             kRed, kRed, kRed, kRed, kGreen}));
    file.bitsPerPixel = 4;
    file.width = 3;
    file.bits = BmpFile::rows({{0x31, 0x20}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kWhite, kGreen, kBlue}));
    file.bitsPerPixel = 8;
    file.bits = BmpFile::rows({{2, 0, 3}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kBlue, kRed, kWhite}));
}

// Without a count the table is as long as the depth allows; an index past it is black.
TEST(DibReaderTest, ColourTableLengthComesFromTheCountOrTheDepth) {
    BmpFile file;
    file.width = 2;
    file.bitsPerPixel = 4;
    file.colours = std::vector<std::uint32_t>(16, 0);
    file.colours[15] = kBlue;
    file.bits = BmpFile::rows({{0xF0}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kBlue, 0}));

    file.bitsPerPixel = 8;
    file.coloursUsed = 2;
    file.colours = {kRed, kWhite};
    file.bits = BmpFile::rows({{1, 200}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kWhite, 0}));
}

// Rows padded to whole words read the same without a file header, with a colour table that a
// true-colour picture does not use, and whether the image size is given or 0.
TEST(DibReaderTest, TrueColourReadsTheSameWhateverTheOptionalFieldsSay) {
    const std::pair<const char*, void (*)(BmpFile&)> cases[] = {
        {"as made", [](BmpFile&) {}},
        {"no file header", [](BmpFile& f) { f.fileHeader = false; }},
        {"colour table",
         [](BmpFile& f) {
             f.coloursUsed = 2, f.colours = {0x123456, 0x654321};
         }},
        {"image size", [](BmpFile& f) { f.sizeImage = static_cast<std::uint32_t>(f.bits.size()); }},
    };
    for (const auto& [name, change] : cases) {
        BmpFile file = trueColour();
        change(file);
        EXPECT_EQ(pixelsOf(file), kTrueColourPixels) << name;
    }
}

TEST(DibReaderTest, NegativeHeightMeansTheFirstRowIsTheTop) {
    BmpFile file = trueColour();
    file.height = -2;
    EXPECT_EQ(pixelsOf(file), (std::vector<std::vector<std::uint32_t>>{{kWhite, kWhite, 0},
                                                                       {kRed, kGreen, kBlue}}));
}

// Without masks sixteen bits are 5-5-5; masks place the colours.
TEST(DibReaderTest, SixteenBitsAreFiveFiveFiveWithoutMasksAndBitFieldMasksPlaceTheColours) {
    BmpFile file;
    file.width = 3;
    file.bitsPerPixel = 16;
    file.bits = BmpFile::rows({{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kRed, kGreen, kBlue}));

    file.compression = kBitFields;
    file.masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
    file.bits = BmpFile::rows({{0x00, 0xF8, 0xE0, 0x07, 0x10, 0x00}});
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kRed, kGreen, 0x000084}));

    file.bitsPerPixel = 32;
    file.masks = {0x000000FF, 0xFF000000, 0x00FF0000};
    file.bits = {0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0x80, 0};
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kRed, kGreen, 0x000080}));
}

TEST(DibReaderTest, V4HeaderCarriesItsMasksInside) {
    BmpFile file;
    file.headerSize = 108;
    file.width = 2;
    file.compression = kBitFields;
    file.bitsPerPixel = 32;
    file.masks = {0x0000FF00, 0x00FF0000, 0xFF000000};
    file.bits = {0, 0xFF, 0, 0, 0, 0, 0, 0xFF};
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kRed, kBlue}));

    file.compression = 0;  // without BI_BITFIELDS the masks are ignored
    file.bits = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    EXPECT_EQ(pixelsOf(file)[0], (std::vector<std::uint32_t>{kRed, kBlue}));
}

TEST(DibReaderTest, EveryTruncationOfAGoodFileIsRefused) {
    BmpFile core;
    core.headerSize = 12;
    core.bitsPerPixel = 8;
    core.colours = grey256();
    core.bits = BmpFile::rows({{7}});
    BmpFile v4;
    v4.headerSize = 108;
    v4.width = 2;
    v4.compression = kBitFields;
    v4.bitsPerPixel = 16;
    BmpFile masked = v4;
    masked.headerSize = 40;
    masked.masks = v4.masks = {0xF800, 0x07E0, 0x001F};
    masked.bits = v4.bits = BmpFile::rows({{1, 2, 3, 4}});
    for (const BmpFile& file : {core, v4, masked, trueColour()}) {
        const std::vector<std::uint8_t> bytes = file.bytes();
        ASSERT_TRUE(DibReader::read(bytes).has_value());
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            EXPECT_FALSE(DibReader::read(std::span(bytes).first(length)).has_value())
                << "header " << file.headerSize << ", cut to " << length << " bytes";
        }
    }
}

TEST(DibReaderTest, SizesThatLieAndFormatsItCannotDrawAreRefused) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    void (*const changes[])(BmpFile&) = {
        [](BmpFile& f) { f.sizeImage = 1000; },
        [](BmpFile& f) { f.sizeImage = 8; },  // less than the rows
        [](BmpFile& f) { f.coloursUsed = 0xFFFFFFFF; },
        [](BmpFile& f) { f.height = 3; },
        [](BmpFile& f) { f.width = kMax; },
        [](BmpFile& f) { f.width = f.height = kMax, f.bitsPerPixel = 32; },
        [](BmpFile& f) { f.height = std::numeric_limits<std::int32_t>::min(); },
        [](BmpFile& f) { f.width = -3; },
        [](BmpFile& f) { f.width = 0; },
        [](BmpFile& f) { f.height = 0; },
        [](BmpFile& f) { f.headerSize = 64; },
        [](BmpFile& f) { f.headerSize = 124; },
        [](BmpFile& f) { f.bitsPerPixel = 7; },
        [](BmpFile& f) { f.bitsPerPixel = 0; },
        [](BmpFile& f) { f.compression = 1; },  // run-length encoded
        // masks only go with 16 and 32 bits
        [](BmpFile& f) {
            f.compression = kBitFields, f.masks = {kRed, kGreen, kBlue};
        },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        BmpFile file = trueColour();
        changes[i](file);
        EXPECT_FALSE(read(file).has_value()) << "change " << i;
    }
}

TEST(DibReaderTest, MissingFileReadsNothing) {
    ScratchDir dir;
    EXPECT_FALSE(DibReader::readFile(dir / "about.bmp").has_value());
    ScratchDir::write(dir / "about.bmp", trueColour().text());
    const std::optional<Dib> dib = DibReader::readFile(dir / "about.bmp");
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(pixels(*dib), kTrueColourPixels);
}

}  // namespace
