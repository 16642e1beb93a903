#include "playback/play_list_file.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <span>

#include "platform/replace_file.h"

namespace {

// One line without its line feed, nor the carriage return of a file written with CRLF.
std::string withoutCarriageReturn(std::string line) {
    if (!line.empty() && line.back() == '\r') {
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

}  // namespace

std::optional<PlayListFile> PlayListFile::read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    PlayListFile list;
    list.directory = directoryFromLine(withoutCarriageReturn(std::move(line)));
    while (std::getline(in, line)) {
        line = withoutCarriageReturn(std::move(line));
        if (!line.empty()) {
            list.names.push_back(std::move(line));
        }
    }
    return list;
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
