#pragma once

#include <filesystem>
#include <string>

class OMBData;
class Ui;

// One load or save of a song as a Standard MIDI File. Messages go through the Ui.
class MidiFile {
public:
    MidiFile(OMBData& song, Ui& ui);

    // Reads the file into the song, which must have been reset. On failure the tracks read
    // before the fault stay in the song. True on success.
    bool load(const std::filesystem::path& path);
    // Writes the song; the previous file survives a failed write untouched. On success the
    // song's track count is the number of chunks written and its changed flag is cleared.
    // track0Name names a track 0 that has no name (the name of its voice, or empty). Running
    // out of memory says "MEMORY ALLOCATION PROBLEM" and fails the write.
    bool write(const std::filesystem::path& path, const std::string& track0Name);

private:
    bool writeFile(const std::filesystem::path& path, const std::string& track0Name);

    OMBData& song_;
    Ui& ui_;
};
