#include "smf/file_commands.h"

#include <fstream>

#include "platform/ui.h"
#include "shell/settings.h"
#include "smf/midi_file.h"
#include "smf/song_document.h"

namespace {

// Keeps the message line to one screen line however long the path.
constexpr std::size_t kMaxSavedNameShown = 80;

}  // namespace

FileCommands::FileCommands(Ui& ui, Settings& settings, const VoiceTable& voices,
                           std::function<bool()> playActive)
    : ui_(ui), settings_(settings), voices_(voices), playActive_(std::move(playActive)) {}

bool FileCommands::refusedInPlayMode() const {
    if (!playActive_()) {
        return false;
    }
    ui_.notice(kPlayModeMessage);
    return true;
}

std::string FileCommands::newSongName() const {
    return settings_.lastDir() + "/new.mid";
}

std::optional<std::string> FileCommands::chooseSongToOpen() const {
    const std::string lastDir = settings_.lastDir();
    return ui_.chooseFile(FileDialogKind::Open, kMidiFilter, "Open MIDI File",
                          lastDir.empty() ? "*.mid" : lastDir + "/*.mid");
}

bool FileCommands::load(SongDocument& document, const std::string& path) const {
    ui_.setCursor(CursorShape::Wait);
    document.song.reset();
    document.fileName = path.substr(0, SongDocument::kMaxFileName);
    const bool loaded = MidiFile(document.song, ui_, &settings_).load(path);
    if (loaded) {
        document.loaded = true;
        document.song.changed = false;
    }
    ui_.setCursor(CursorShape::Arrow);
    return loaded;
}

bool FileCommands::save(SongDocument& document) const {
    if (!document.song.changed) {
        ui_.errorBox("No Changes to save");
        return false;
    }
    if (document.fileName.empty()) {
        return saveAs(document);
    }
    ui_.setCursor(CursorShape::Wait);
    // A new song is named new.mid in the last directory; a file of that name there is some
    // earlier work, which is not overwritten without asking.
    const bool written = (document.loaded || confirmReplace(document.fileName)) &&
                         write(document, document.fileName);
    ui_.setCursor(CursorShape::Arrow);
    return written;
}

bool FileCommands::saveAs(SongDocument& document) const {
    const std::string lastDir = settings_.lastDir();
    const std::optional<std::string> path =
        ui_.chooseFile(FileDialogKind::Save, kMidiFilter, "Save MIDI File",
                       lastDir.empty() ? "*.mid" : lastDir + "/*.mid");
    if (!path) {
        return false;
    }
    ui_.setCursor(CursorShape::Wait);
    const bool written = confirmReplace(*path) && write(document, *path);
    if (written) {
        document.fileName = path->substr(0, SongDocument::kMaxFileName);
    }
    ui_.setCursor(CursorShape::Arrow);
    return written;
}

bool FileCommands::confirmReplace(const std::string& path) const {
    if (!std::ifstream(path, std::ios::binary) ||
        ui_.errorBox("Do you want to replace the file?", "File Exists",
                     MB_YESNO | MB_ICONQUESTION) == IDYES) {
        return true;
    }
    ui_.errorBox("File not saved", "", MB_OK | MB_ICONHAND);
    return false;
}

bool FileCommands::write(SongDocument& document, const std::string& path) const {
    if (!MidiFile(document.song, ui_, &settings_).write(path, voices_)) {
        return false;
    }
    document.loaded = true;
    ui_.notice(path.substr(0, kMaxSavedNameShown) + " Saved");
    return true;
}

bool FileCommands::querySave(SongDocument* document) const {
    if (refusedInPlayMode()) {
        return false;
    }
    if (document == nullptr || !document->song.changed) {
        return true;
    }
    switch (ui_.errorBox(document->fileName + " has changed. Do you want to save it?", "",
                         MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDCANCEL:
            return false;
        case IDYES:
            // A song that could not be saved stays open rather than being lost.
            return save(*document);
        default:
            return true;
    }
}
