#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// The names of the current synth's programs, read from a synth file (*.syn): plain text, line
// n naming program n - 1, no header. Slot 0 always holds "--NONE--" (no program); slot p + 1
// holds the name of program p. Only slots 1-128 belong to MIDI programs; slots 129 and 130
// keep lines 129 and 130 of a file so that saving writes them back.
//
// A name is at most 13 bytes, and a longer text is cut without splitting a UTF-8 sequence, so
// a cut name may hold fewer than 13 bytes. Lines end with LF; the CRs that end a line belong to
// the line break, not to the name.
class VoiceTable {
public:
    static constexpr int kMaxNames = 130;
    static constexpr std::size_t kMaxNameBytes = 13;

    // Only "--NONE--", no path.
    VoiceTable();

    // Reads the synth file at synthFile (the "Syn File" setting), or midimap.syn in the data
    // directory when it is empty. Every line is a name, empty lines included, so line n is always
    // program n - 1. A file that cannot be opened leaves only "--NONE--", with no message.
    void loadAtStartup(const std::filesystem::path& synthFile);

    // Reads the file a user has chosen, as at start-up: an empty line is an empty name, so
    // every later line still names its own program. The path is kept even when the file
    // cannot be read. Returns false when the file could not be opened or reading it failed;
    // the names read until the failure stay.
    bool reload(const std::filesystem::path& file);
    // Takes names[p] as the name of program p (at most 130 names, each cut to 13 bytes, a CR
    // or LF ending it) and file as the synth file to save them to.
    void assign(std::span<const std::string> names, const std::filesystem::path& file);

    // Writes slots 1..count() to the file at path(), each name followed by LF. The new file is
    // written beside the old one and renamed over it, so a failure leaves the old file whole;
    // through a symbolic link the linked file is replaced and keeps its permissions. Returns
    // false when nothing was stored (no path, a directory that refuses the file, a full disk),
    // and for a file in the program's data directory, which belongs to the installation (or,
    // run from the build tree, to the sources) and is never written.
    bool save() const;
    // Writes the names to file as save() does; once written, file is path().
    bool saveAs(const std::filesystem::path& file);

    // Renames a loaded slot (1..count()), cutting the name to 13 bytes. A name holding a CR or
    // LF is refused, since it would not read back as one line; so are slot 0 and slots that
    // hold no name. Returns whether the slot took the name.
    bool setName(int slot, std::string_view name);

    // Names loaded: slots 1..count() are valid; at most 130.
    int count() const { return count_; }
    // The synth file the names came from; empty before the first load.
    const std::filesystem::path& path() const { return path_; }
    // The name of program (-1 gives "--NONE--"); an empty string when no name is loaded for
    // it, which callers show as "Undefined". A loaded name can be empty too: program + 1 >
    // count() tells the two apart.
    const std::string& name(int program) const;

private:
    // Empties the table, then stores the names of file; see loadAtStartup.
    bool read(const std::filesystem::path& file);

    std::array<std::string, kMaxNames + 1> names_;
    int count_ = 0;
    std::filesystem::path path_;
};
