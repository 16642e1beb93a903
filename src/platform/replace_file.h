#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// Replaces the contents of a file so that it is never left half written: the bytes go to a
// temporary file beside it, which is renamed over the file only when every byte is on disk.
// A link is followed, so the file it points to is replaced; an existing file keeps its
// permissions. Returns false, leaving the old file as it was, when anything fails.
bool replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
// The same with the bytes given in pieces, written one after the other.
bool replaceFile(const std::filesystem::path& file,
                 std::span<const std::span<const std::uint8_t>> pieces);
