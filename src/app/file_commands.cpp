#include "app/file_commands.h"

#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "app/song_document.h"
#include "model/track_splice.h"
#include "platform/ui.h"
#include "platform/wait_cursor.h"
#include "playback/voice_table.h"
#include "smf/midi_file.h"

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

std::string FileCommands::commandLinePath(const std::string& name) {
    if (name.empty()) {
        return name;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(name, error);
    return error ? name : absolute.lexically_normal().string();
}

std::string FileCommands::newSongName() const {
    return settings_.lastDir() + "/new.mid";
}

std::optional<std::string> FileCommands::chooseSongToOpen() const {
    const std::string lastDir = settings_.lastDir();
    return ui_.chooseFile(FileDialogKind::Open, kMidiFilter, "Open MIDI File",
                          lastDir.empty() ? "*.mid" : lastDir + "/*.mid");
}

std::optional<std::string> FileCommands::choosePlayList() const {
    const std::string lastDir = settings_.lastDir();
    std::optional<std::string> path =
        ui_.chooseFile(FileDialogKind::OpenOrNew, kMidiFilter, "Open MIDI File",
                       lastDir.empty() ? "*.pll" : lastDir + "/*.pll");
    // A list that exists is opened under the name it has.
    std::error_code error;
    if (path && !std::filesystem::exists(*path, error)) {
        path = withDefaultExtension(*path, ".pll");
    }
    return path;
}

std::string FileCommands::withDefaultExtension(const std::string& path, const char* extension) {
    return std::filesystem::path(path).filename().has_extension() ? path : path + extension;
}

bool FileCommands::load(SongDocument& document, const std::string& path) const {
    const WaitCursor waitCursor(ui_);
    document.song.reset();
    document.history.forget();
    document.fileName = path;
    const bool loaded = MidiFile(document.song, ui_).load(path);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        rememberDirectory(path);
    }
    if (loaded) {
        document.loaded = true;
        document.history.markSaved();
    }
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
    // A song opened without some of its file's tracks would lose them from that file.
    if (document.loaded && document.song.tracksLeftOut() > 0 &&
        ui_.errorBox(document.song.tracksLeftOutText() + ". Saving replaces " + document.fileName +
                         " without the other " + std::to_string(document.song.tracksLeftOut()) +
                         ". Save it?",
                     "Tracks Left Out", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    const WaitCursor waitCursor(ui_);
    // A new song is named new.mid in the last directory; a file of that name there is some
    // earlier work, which is not overwritten without asking.
    const bool written = (document.loaded || confirmReplace(document.fileName)) &&
                         write(document, document.fileName);
    return written;
}

bool FileCommands::saveAs(SongDocument& document) const {
    const std::string lastDir = settings_.lastDir();
    const std::optional<std::string> chosen =
        ui_.chooseFile(FileDialogKind::Save, kMidiFilter, "Save MIDI File",
                       lastDir.empty() ? "*.mid" : lastDir + "/*.mid");
    if (!chosen) {
        return false;
    }
    const std::string path = withDefaultExtension(*chosen, ".mid");
    const WaitCursor waitCursor(ui_);
    const bool written = confirmReplace(path) && write(document, path);
    if (written) {
        document.fileName = path;
    }
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
    // Writing may give track 0 the tempo, time signature and key signature it lacks; the
    // history takes them in, so that undo still finds the song as each step left it.
    const Track& track0 = document.song.track(0);
    std::vector<const Element*> before(static_cast<std::size_t>(track0.count()));
    for (int i = 0; i < track0.count(); ++i) {
        before[i] = track0.at(i);
    }
    const bool written =
        MidiFile(document.song, ui_).write(path, voices_.name(document.song.program[0]));
    if (static_cast<std::size_t>(track0.count()) != before.size()) {
        auto defaults = std::make_unique<TrackSplice>(0);
        defaults->putSince(track0, before);
        document.history.absorb(std::move(defaults));
    }
    rememberDirectory(path);
    if (!written) {
        return false;
    }
    document.history.markSaved();
    document.loaded = true;
    ui_.notice(path.substr(0, kMaxSavedNameShown) + " Saved");
    return true;
}

void FileCommands::rememberDirectory(const std::string& path) const {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    settings_.setText(settings_keys::kLastDir,
                      (error ? std::filesystem::path(path) : absolute).parent_path().string());
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
