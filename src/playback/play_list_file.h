#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// A play list as stored (*.pll): the directory of its songs on the first line, then one MIDI
// file name per line, relative to that directory; every line ends in a line feed. Names and
// directories of any length a path can have are kept whole.
class PlayListFile {
public:
    enum class Status {
        Read,
        // Nothing is at the path: a new list.
        Missing,
        // Something is there that cannot be read, or is not lines of text: a list saved there
        // would destroy it.
        NotAPlayList,
    };

    // The longest line a list holds: a path of the system's longest.
    static constexpr std::size_t kLongestLine = 4096;

    // Reads file into list. NotAPlayList for what is not a regular readable file, and for
    // content holding a NUL or another control character than tab, carriage return and line
    // feed, or a line longer than kLongestLine; list is then left as it was. The directory
    // always ends in "/": a line written with "\" separators has them read as "/", and one
    // without a trailing separator gains it. Empty lines are skipped, and a carriage return
    // before a line feed is dropped.
    static Status read(const std::filesystem::path& file, PlayListFile& list);

    // Writes the directory and the names through a temporary file renamed over file, so a
    // failed write leaves the old list whole. False when the list could not be stored.
    bool write(const std::filesystem::path& file) const;

    // dir with a trailing "/", which an empty dir does not gain.
    static std::string withSeparator(std::string dir);

    // Empty when the directory line was empty or missing: the caller chooses one.
    std::string directory;
    std::vector<std::string> names;
};
