#include "playback/play_list_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <span>

#include "platform/replace_file.h"

namespace {

// One line without its line feed, nor the carriage returns before it (CRLF, or a CR doubled by
// a transfer): written back, a name ending in one would lose it and read otherwise.
std::string withoutCarriageReturn(std::string line) {
    while (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// A directory line of the backslash form ("...\songs\") names the same place with "/".
std::string directoryFromLine(std::string line) {
    if (!line.empty() && line.back() == '\\') {
        std::replace(line.begin(), line.end(), '\\', '/');
    }
    return PlayListFile::withSeparator(std::move(line));
}

// Text lines hold no control characters but these; a MIDI file, a picture or a sound has them
// within its first bytes.
bool isText(unsigned char c) {
    return (c >= 0x20 && c != 0x7f) || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

PlayListFile::Status PlayListFile::read(const std::filesystem::path& file, PlayListFile& list) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return Status::Missing;
    }
    // A directory, a pipe or a device is no list, and reading a pipe could wait for ever.
    if (error || status.type() != std::filesystem::file_type::regular) {
        return Status::NotAPlayList;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Status::NotAPlayList;
    }
    PlayListFile read;
    bool directoryRead = false;
    std::string line;
    // False for a line longer than a path can be.
    const auto endLine = [&] {
        std::string text = withoutCarriageReturn(std::move(line));
        line.clear();
        if (!directoryRead) {
            read.directory = directoryFromLine(std::move(text));
            directoryRead = true;
            // The separator it gained must leave it a path, or the list would not read back.
            return read.directory.size() <= kLongestLine;
        }
        if (text.size() > kLongestLine) {
            return false;
        }
        if (!text.empty()) {
            read.names.push_back(std::move(text));
        }
        return true;
    };
    // Read in blocks and checked as it comes, so a large file of another kind is refused
    // without being held whole.
    std::array<char, 65536> block;
    while (in.read(block.data(), block.size()) || in.gcount() > 0) {
        for (const char c : std::span(block.data(), static_cast<std::size_t>(in.gcount()))) {
            if (!isText(static_cast<unsigned char>(c))) {
                return Status::NotAPlayList;
            }
            if (c == '\n') {
                if (!endLine()) {
                    return Status::NotAPlayList;
                }
            } else if (line.size() > kLongestLine) {
                // Past the longest path and the carriage return of a CRLF line.
                return Status::NotAPlayList;
            } else {
                line += c;
            }
        }
    }
    if (in.bad()) {
        return Status::NotAPlayList;
    }
    if (!line.empty() && !endLine()) {
        return Status::NotAPlayList;
    }
    list = std::move(read);
    return Status::Read;
}

bool PlayListFile::write(const std::filesystem::path& file) const {
    std::string text = directory + '\n';
    for (const std::string& name : names) {
        text += name + '\n';
    }
    return replaceFile(file,
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string PlayListFile::withSeparator(std::string dir) {
    if (!dir.empty() && dir.back() != '/') {
        dir += '/';
    }
    return dir;
}
