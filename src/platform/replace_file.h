#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

// Replaces the contents of a file so that it is never left half written: the bytes go to a
// temporary file beside it, which is renamed over the file only when every byte is on disk.
// A link is followed, so the file it points to is replaced; an existing file keeps its
// permissions. Returns false, leaving the old file as it was, when anything fails.
bool replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
// The same with the bytes given in pieces, written one after the other.
bool replaceFile(const std::filesystem::path& file,
                 std::span<const std::span<const std::uint8_t>> pieces);

// Takes the next bytes of the file; false when they could not be written.
using ByteSink = std::function<bool(std::span<const std::uint8_t>)>;
// The same with the bytes made while they are written, for a file too large to hold whole:
// write hands them to the sink in order and returns false to give up (as it should once the
// sink has failed). The file is replaced only when write returns true and every byte is on
// disk; an exception from write leaves no temporary file and goes on to the caller.
bool replaceFile(const std::filesystem::path& file,
                 const std::function<bool(const ByteSink&)>& write);
