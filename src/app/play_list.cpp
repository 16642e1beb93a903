#include "app/play_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/settings.h"
#include "platform/ui.h"

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "*.mid" matches "Song.MID" as well: the songs of a list often come from other systems.
bool isMidiFile(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error) && lowerCase(entry.path().extension().string()) == ".mid";
}

}  // namespace

std::optional<PlayList> PlayList::open(Settings& settings, Ui& ui, std::string path) {
    PlayListFile stored;
    if (PlayListFile::read(path, stored) == PlayListFile::Status::NotAPlayList) {
        ui.errorBox(path + " cannot be read as a play list");
        return std::nullopt;
    }
    return PlayList(settings, ui, std::move(path), std::move(stored));
}

PlayList::PlayList(Settings& settings, Ui& ui, std::string path, PlayListFile stored)
    : pauseAfterEach(settings.playListPause()),
      settings_(settings),
      ui_(ui),
      path_(std::move(path)),
      directory_(std::move(stored.directory)),
      entries_(std::move(stored.names)) {
    if (directory_.empty()) {
        directory_ = PlayListFile::withSeparator(settings_.lastDir());
    }
    listMidiFiles();
}

void PlayList::listMidiFiles() {
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory_.empty() ? "." : directory_, error), end;
         !error && it != end; it.increment(error)) {
        if (isMidiFile(*it)) {
            midiFiles_.push_back(it->path().filename().string());
        }
    }
    std::sort(midiFiles_.begin(), midiFiles_.end(), [](const auto& a, const auto& b) {
        const std::string lowerA = lowerCase(a);
        const std::string lowerB = lowerCase(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
}

void PlayList::select(int index) {
    selected_ = index >= 0 && index <= entryCount() ? index : kNoSelection;
}

void PlayList::insert(int fileIndex) {
    if (fileIndex < 0 || fileIndex >= static_cast<int>(midiFiles_.size())) {
        return;
    }
    // With nothing selected the name still goes before the end marker, which stays last.
    const int at = selected_ == kNoSelection ? entryCount() : selected_;
    entries_.insert(entries_.begin() + at, midiFiles_[fileIndex]);
    selected_ = at + 1;
    modified_ = true;
}

void PlayList::deleteSelected() {
    if (selected_ < 0 || selected_ >= entryCount()) {
        return;
    }
    entries_.erase(entries_.begin() + selected_);
    selected_ = 0;
    modified_ = true;
}

std::optional<std::string> PlayList::startPlay() {
    if (entries_.empty()) {
        return std::nullopt;
    }
    current_ = selected_ >= 0 && selected_ < entryCount() ? selected_ : 0;
    selected_ = current_;
    playing_ = true;
    return pathOf(current_);
}

std::optional<std::string> PlayList::nextEntry(bool stoppedByUser) {
    ++current_;
    select(current_);
    if (pauseAfterEach || stoppedByUser) {
        return std::nullopt;
    }
    if (current_ >= entryCount()) {
        ++current_;
        selected_ = kNoSelection;
        playing_ = false;
        return std::nullopt;
    }
    return pathOf(current_);
}

bool PlayList::querySave() {
    if (!modified_) {
        return true;
    }
    switch (ui_.errorBox(path_ + " has changed. Do you want to save it?", "",
                         MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDCANCEL:
            return false;
        case IDYES:
            return save();
        default:
            return true;
    }
}

bool PlayList::save() {
    if (modified_) {
        if (!PlayListFile{directory_, entries_}.write(path_)) {
            ui_.errorBox("File does not exist, or is read only");
            return false;
        }
        modified_ = false;
    }
    settings_.setFlag(settings_keys::kPlayListPause, pauseAfterEach);
    return true;
}
