#pragma once

#include <filesystem>

class OMBData;
class Settings;
class Ui;
class VoiceTable;

// One load or save of a song as a Standard MIDI File. Messages go through the Ui; when
// settings are given, the file's directory is remembered there as the last directory used.
class MidiFile {
public:
    MidiFile(OMBData& song, Ui& ui, Settings* settings = nullptr);

    // Reads the file into the song, which must have been reset. On failure the tracks read
    // before the fault stay in the song. True on success.
    bool load(const std::filesystem::path& path);
    // Writes the song; the previous file survives a failed write untouched. On success the
    // song's track count is the number of chunks written and its changed flag is cleared.
    bool write(const std::filesystem::path& path, const VoiceTable& voices);

private:
    void rememberDirectory(const std::filesystem::path& path);

    OMBData& song_;
    Ui& ui_;
    Settings* settings_;
};
