#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "platform/dib.h"

// Reads a Windows BMP picture: with its 14-byte file header or without one (the bytes then
// start with the info header), a 12-byte core, 40-byte or 108-byte info header, a colour table
// of 3-byte (core) or 4-byte entries, bit-field masks, and uncompressed pixel rows, bottom-up
// or top-down. The pixel rows follow the colour table directly.
//
// Every size in the file is checked against the bytes there are before it is used; a picture
// that fails a check, is compressed or has a depth other than 1, 4, 8, 16, 24 or 32 bits per
// pixel is not read. Nothing is shown to the user: the caller says the picture is missing.
class DibReader {
public:
    static std::optional<Dib> read(std::span<const std::uint8_t> file);
    // The whole file, read afresh; nothing when it cannot be opened or memory runs out.
    static std::optional<Dib> readFile(const std::filesystem::path& file);
};
