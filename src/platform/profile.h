#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// A private-profile (ini) file: "[section]" lines, then "key=value" lines.
//
// Section and key names match without regard to ASCII letter case; blanks around names and
// values do not count, blanks inside them do ("Number of Beats"). A value in matching single
// or double quotes loses them. Lines before the first section, lines without '=', lines with
// control bytes and lines that are neither keys nor sections are ignored but kept on write.
// When a section or key appears twice, the first one wins.
//
// The file is read again on every call, so edits by another program are seen at once.
// Not for concurrent use from several threads on one file.
class Profile {
public:
    explicit Profile(std::filesystem::path file);

    // $TOLVAR32_INI when set and not empty; else tolvar32/tolvar32.ini under $XDG_CONFIG_HOME
    // when that is an absolute path; else under the home directory's .config.
    static std::filesystem::path defaultPath();

    // $HOME when set and not empty, else the account's home from the password database;
    // empty when neither is known.
    static std::filesystem::path homeDirectory();

    const std::filesystem::path& file() const { return file_; }

    // The stored value, or defaultText when the file, the section or the key is missing or
    // the file cannot be read; either way cut to bufferSize - 1 bytes ("" when bufferSize < 2).
    std::string read(std::string_view section, std::string_view key, std::string_view defaultText,
                     int bufferSize) const;

    // Stores key=value in section: the key's line is replaced, or the line is added after the
    // section's last non-blank line, or the section is appended. Every other byte of the file
    // stays as it was, line endings included (new lines follow the file's CRLF or LF).
    // A value that reading would alter (blanks at either end, quotes around it) is written in
    // double quotes so that it reads back exactly.
    // The new file is written beside the old one and renamed over it, so a failure leaves the
    // old file whole. Returns false, changing nothing, when the file cannot be read or stored,
    // or when a name or the value would not read back: control characters (line breaks), an
    // empty key, a key with '=' or starting with '[', a section name with ']'.
    bool write(std::string_view section, std::string_view key, std::string_view value);
    // Why the last write could not store the file; empty after a write that stored it or was
    // refused for what it held.
    std::error_code lastWriteError() const { return lastWriteError_; }

private:
    std::filesystem::path file_;
    std::error_code lastWriteError_;
};
