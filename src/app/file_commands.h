#pragma once

#include <functional>
#include <optional>
#include <string>

class Settings;
class Ui;
class VoiceTable;
struct SongDocument;

// What New, Open, Save and Save As do to a song once invoked, and the save prompt before a
// song is closed. The windows around the song are the caller's. Messages and questions go
// through the Ui; passing notices ("... Saved") go to its message line.
class FileCommands {
public:
    static constexpr const char* kPlayModeMessage =
        "Currently in PLAY mode, Press Stop to return to normal mode.";
    static constexpr const char* kMidiFilter = "MIDI Files (*.mid)";

    // playActive tells whether a song is playing or paused: file commands are refused then.
    FileCommands(Ui& ui, Settings& settings, const VoiceTable& voices,
                 std::function<bool()> playActive);

    // While playing, shows the play-mode message and answers true: the command must stop.
    bool refusedInPlayMode() const;

    // A file named on the command line, whole and made absolute against the directory the
    // user started in; an empty name stays empty.
    static std::string commandLinePath(const std::string& name);

    // The file name of a new song: "new.mid" in the last directory used.
    std::string newSongName() const;
    // The open dialog for MIDI files, starting in the last directory used. The chosen path,
    // or nothing when the user cancelled.
    std::optional<std::string> chooseSongToOpen() const;
    // The open dialog for a play list ("*.pll"), which need not exist yet. The chosen path,
    // or nothing when the user cancelled. A new list's name without an extension gets ".pll".
    std::optional<std::string> choosePlayList() const;
    // path with extension (".mid") added when its file name has none; a name with another
    // extension is the user's choice and stays.
    static std::string withDefaultExtension(const std::string& path, const char* extension);

    // Empties the song and reads the file into it under the wait cursor; the file's name
    // becomes the document's name. On success the document is marked loaded and unchanged;
    // a damaged file leaves what was read before the damage. True on success.
    bool load(SongDocument& document, const std::string& path) const;

    // Save: "No Changes to save" for an unchanged song; a song without a name goes through
    // Save As. A new song's file that already exists is replaced only when the user agrees.
    // True when the file was written.
    bool save(SongDocument& document) const;
    // Asks for a name (".mid" added when it has no extension, so Open lists it; confirming the
    // replacement of an existing file) and writes the song there, changed or not; the name
    // becomes the document's. True when the file was written.
    bool saveAs(SongDocument& document) const;

    // Before a song closes: asks whether to save it when it has changed. False means the song
    // must stay open: the user cancelled, the save failed, or a song is playing. Nothing to ask
    // about (no document, no change) answers true.
    bool querySave(SongDocument* document) const;

    // Remembers the directory of a file read or written as the last directory used.
    void rememberDirectory(const std::string& path) const;

private:
    // True when nothing is at path or the user agrees to replace it; else "File not saved".
    bool confirmReplace(const std::string& path) const;
    bool write(SongDocument& document, const std::string& path) const;

    Ui& ui_;
    Settings& settings_;
    const VoiceTable& voices_;
    std::function<bool()> playActive_;
};
