#include "platform/profile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/replace_file.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// Tabs are blanks; every other control byte (NUL, a stray CR, escape...) marks junk.
bool hasControlByte(std::string_view text) {
    return std::ranges::any_of(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
}

std::string_view unquote(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// One line of the file: its first byte, its length without the line break, the break's length
// (0 for a last line that has none).
struct LineSpan {
    std::size_t start;
    std::size_t length;
    std::size_t breakLength;
};

std::vector<LineSpan> splitLines(std::string_view content) {
    std::vector<LineSpan> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t newline = content.find('\n', start);
        if (newline == std::string_view::npos) {
            lines.push_back({start, content.size() - start, 0});
            break;
        }
        const bool crlf = newline > start && content[newline - 1] == '\r';
        lines.push_back({start, newline - start - (crlf ? 1 : 0), crlf ? 2u : 1u});
        start = newline + 1;
    }
    return lines;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

ParsedLine parseLine(std::string_view line) {
    if (hasControlByte(line)) {
        return {};
    }
    const std::string_view text = trim(line);
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {LineKind::Section, trim(text.substr(1, close - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || trim(text.substr(0, equals)).empty()) {
        return {};
    }
    return {LineKind::Key, trim(text.substr(0, equals)), unquote(trim(text.substr(equals + 1)))};
}

// Where a key is in the file, or where a new one would go.
struct Location {
    std::optional<std::size_t> keyLine;
    std::string_view value;
    // The last non-blank line of the first section with the wanted name (its header at least).
    std::optional<std::size_t> sectionEndLine;
};

Location locate(std::string_view content, const std::vector<LineSpan>& lines,
                std::string_view section, std::string_view key) {
    Location found;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = content.substr(lines[i].start, lines[i].length);
        if (i == 0 && line.starts_with(kUtf8ByteOrderMark)) {
            line.remove_prefix(kUtf8ByteOrderMark.size());
        }
        const ParsedLine parsed = parseLine(line);
        if (parsed.kind == LineKind::Section) {
            inSection = sameName(parsed.name, section);
            inFirstSection = inSection && !found.sectionEndLine;
            if (inFirstSection) {
                found.sectionEndLine = i;
            }
            continue;
        }
        if (inFirstSection && !trim(line).empty()) {
            found.sectionEndLine = i;
        }
        if (inSection && parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            found.keyLine = i;
            found.value = parsed.value;
            return found;
        }
    }
    return found;
}

// The file's bytes; empty when it does not exist; nothing when it exists but cannot be read.
// What the last failed system call said; a failure that set nothing (a path that is no
// regular file) reads as an input/output error.
std::error_code systemError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

std::optional<std::string> loadFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return std::string();
    }
    if (error || status.type() != fs::file_type::regular) {
        return std::nullopt;
    }
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
        content.append(buffer, count);
    }
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed) {
        return std::nullopt;
    }
    return content;
}

bool storable(std::string_view section, std::string_view key, std::string_view value) {
    return !hasControlByte(section) && !hasControlByte(key) && !hasControlByte(value) &&
           section.find(']') == std::string_view::npos && !key.empty() &&
           key.find('=') == std::string_view::npos && !key.starts_with('[');
}

// A value that reading would trim or unquote is protected by quotes that reading removes.
std::string storedForm(std::string_view value) {
    if (unquote(trim(value)) == value) {
        return std::string(value);
    }
    return '"' + std::string(value) + '"';
}

}  // namespace

Profile::Profile(fs::path file) : file_(std::move(file)) {}

fs::path Profile::defaultPath() {
    if (const char* named = std::getenv("TOLVAR32_INI"); named != nullptr && *named != '\0') {
        return named;
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && fs::path(config).is_absolute()) {
        return fs::path(config) / "tolvar32" / "tolvar32.ini";
    }
    return homeDirectory() / ".config" / "tolvar32" / "tolvar32.ini";
}

fs::path Profile::homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir) {
        return account->pw_dir;
    }
    return {};
}

std::string Profile::read(std::string_view section, std::string_view key,
                          std::string_view defaultText, int bufferSize) const {
    const std::size_t keptChars = bufferSize > 1 ? static_cast<std::size_t>(bufferSize - 1) : 0;
    const std::optional<std::string> content = loadFile(file_);
    if (content) {
        const Location found = locate(*content, splitLines(*content), trim(section), trim(key));
        if (found.keyLine) {
            return std::string(found.value.substr(0, keptChars));
        }
    }
    return std::string(defaultText.substr(0, keptChars));
}

bool Profile::write(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    lastWriteError_.clear();
    if (!storable(section, key, value)) {
        return false;
    }
    std::error_code error;
    if (file_.has_parent_path()) {
        fs::create_directories(file_.parent_path(), error);
        if (error) {
            lastWriteError_ = error;
            return false;
        }
    }
    errno = 0;
    const std::optional<std::string> content = loadFile(file_);
    if (!content) {
        lastWriteError_ = systemError();
        return false;
    }
    const std::vector<LineSpan> lines = splitLines(*content);
    const Location found = locate(*content, lines, section, key);
    const std::string lineBreak = !lines.empty() && lines[0].breakLength == 2 ? "\r\n" : "\n";
    const std::string entry = std::string(key) + '=' + storedForm(value);
    const std::string_view text = *content;
    std::string updated;
    if (found.keyLine) {
        const LineSpan& line = lines[*found.keyLine];
        updated.append(text.substr(0, line.start)).append(entry);
        updated.append(text.substr(line.start + line.length));
    } else if (found.sectionEndLine) {
        const LineSpan& line = lines[*found.sectionEndLine];
        const std::size_t end = line.start + line.length + line.breakLength;
        updated.append(text.substr(0, end)).append(line.breakLength == 0 ? lineBreak : "");
        updated.append(entry).append(lineBreak).append(text.substr(end));
    } else {
        updated = *content;
        if (!lines.empty() && lines.back().breakLength == 0) {
            updated += lineBreak;
        }
        updated.append("[").append(section).append("]").append(lineBreak);
        updated.append(entry).append(lineBreak);
    }
    errno = 0;
    if (!replaceFile(file_,
                     {reinterpret_cast<const std::uint8_t*>(updated.data()), updated.size()})) {
        lastWriteError_ = systemError();
        return false;
    }
    return true;
}
