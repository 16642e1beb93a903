#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A play list as stored (*.pll): the directory of its songs on the first line, then one MIDI
// file name per line, relative to that directory; every line ends in a line feed. Names and
// directories of any length are kept whole.
class PlayListFile {
public:
    // Reads file. Nothing when it cannot be opened or holds no directory line. The directory
    // always ends in "/": a line written with "\" separators has them read as "/", and one
    // without a trailing separator gains it. Empty lines are skipped, and a carriage return
    // before a line feed is dropped.
    static std::optional<PlayListFile> read(const std::filesystem::path& file);

    // Writes the directory and the names through a temporary file renamed over file, so a
    // failed write leaves the old list whole. False when the list could not be stored.
    bool write(const std::filesystem::path& file) const;

    // dir with a trailing "/", which an empty dir does not gain.
    static std::string withSeparator(std::string dir);

    // Empty when the directory line was empty: the caller chooses one.
    std::string directory;
    std::vector<std::string> names;
};
