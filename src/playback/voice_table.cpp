#include "playback/voice_table.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <system_error>
#include <utility>

#include "platform/data_directory.h"
#include "platform/replace_file.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kNoProgram = "--NONE--";
constexpr const char* kDefaultSynthFile = "midimap.syn";
// One byte more than a name, so that cutting sees whether the byte after the cut continues a
// UTF-8 sequence.
constexpr std::size_t kKeptLineBytes = VoiceTable::kMaxNameBytes + 1;

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

bool isUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool isUtf8Lead(char c) {
    return static_cast<unsigned char>(c) >= 0xC0;
}

// The first kMaxNameBytes bytes of text, less a UTF-8 sequence the cut would split and the
// CRs that would then end it: a saved name's last CR reads back as part of the line break.
// Text in a one-byte encoding such as Latin-1 may lose up to three more bytes; it never gains
// any.
std::string cutName(std::string_view text) {
    std::size_t end = std::min(text.size(), VoiceTable::kMaxNameBytes);
    if (end < text.size() && isUtf8Continuation(text[end])) {
        // A sequence has at most three continuation bytes after its lead byte.
        for (std::size_t lead = end - 1; lead + 4 > end; --lead) {
            if (!isUtf8Continuation(text[lead])) {
                if (isUtf8Lead(text[lead])) {
                    end = lead;
                }
                break;
            }
        }
    }
    while (end > 0 && text[end - 1] == '\r') {
        --end;
    }
    return std::string(text.substr(0, end));
}

// Reads through the next LF, or to the end of the file, into line: its first kKeptLineBytes
// bytes, less a CR that ends it. The rest of a longer line is discarded rather than read as the
// next name, so line n of a file always names program n - 1. Returns false at the end of the
// file and on a read error, storing nothing from a line the error cut short.
bool readLine(std::FILE* stream, std::string& line) {
    line.clear();
    bool readAnything = false;
    bool overlong = false;
    int c = 0;
    while ((c = std::getc(stream)) != EOF) {
        readAnything = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < kKeptLineBytes) {
            line.push_back(static_cast<char>(c));
        } else {
            overlong = true;
        }
    }
    if (!overlong && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return readAnything && std::ferror(stream) == 0;
}

// Whether file, or the file a link of that name leads to, lies in the data directory.
bool inDataDirectory(const fs::path& file) {
    std::error_code error;
    const fs::path data = fs::weakly_canonical(dataDirectory(), error);
    const fs::path target = fs::weakly_canonical(fs::absolute(file, error), error);
    const fs::path relative = target.lexically_relative(data);
    return !error && !relative.empty() && *relative.begin() != "..";
}

}  // namespace

VoiceTable::VoiceTable() {
    names_[0] = kNoProgram;
}

void VoiceTable::loadAtStartup(const fs::path& synthFile) {
    path_ = synthFile;
    if (path_.empty()) {
        path_ = dataDirectory() / kDefaultSynthFile;
    }
    // A synth file that cannot be read leaves the table with "--NONE--" alone; the track list
    // then shows "Undefined", which is message enough.
    read(path_);
}

bool VoiceTable::reload(const fs::path& file) {
    path_ = file;
    return read(path_);
}

bool VoiceTable::read(const fs::path& file) {
    names_.fill({});
    names_[0] = kNoProgram;
    count_ = 0;
    const FileHandle stream(std::fopen(file.c_str(), "rb"));
    if (!stream) {
        return false;
    }
    std::string line;
    while (count_ < kMaxNames && readLine(stream.get(), line)) {
        names_[++count_] = cutName(line);
    }
    return std::ferror(stream.get()) == 0;
}

void VoiceTable::assign(std::span<const std::string> names, const fs::path& file) {
    names_.fill({});
    names_[0] = kNoProgram;
    count_ = 0;
    path_ = file;
    for (const std::string& name : names.first(std::min<std::size_t>(names.size(), kMaxNames))) {
        names_[++count_] = cutName(name.substr(0, name.find_first_of("\r\n")));
    }
}

bool VoiceTable::save() const {
    if (path_.empty() || inDataDirectory(path_)) {
        return false;
    }
    std::string content;
    for (int slot = 1; slot <= count_; ++slot) {
        content.append(names_[slot]).push_back('\n');
    }
    return replaceFile(
        path_, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

bool VoiceTable::saveAs(const fs::path& file) {
    const fs::path previous = std::exchange(path_, file);
    if (!save()) {
        path_ = previous;
        return false;
    }
    return true;
}

bool VoiceTable::setName(int slot, std::string_view name) {
    if (slot < 1 || slot > count_ || name.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    names_[slot] = cutName(name);
    return true;
}

const std::string& VoiceTable::name(int program) const {
    static const std::string kNotLoaded;
    if (program < -1 || program >= count_) {
        return kNotLoaded;
    }
    return names_[program + 1];
}
