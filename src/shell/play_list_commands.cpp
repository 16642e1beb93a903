#include "shell/play_list_commands.h"

#include <algorithm>

#include "app/application.h"
#include "app/command_ids.h"
#include "app/transport.h"
#include "notation/staff_window.h"
#include "shell/document_windows.h"
#include "shell/play_list_window.h"

PlayListCommands::PlayListCommands(Application& app, QWidget& owner, DocumentWindows& documents,
                                   Transport& transport, std::function<void()> songOpened)
    : app_(app),
      owner_(owner),
      documents_(documents),
      transport_(transport),
      songOpened_(std::move(songOpened)) {
    transport_.setPlayNextEntry([this](bool stoppedByUser) {
        if (window_ != nullptr) {
            window_->PlayNextEntry(stoppedByUser);
        }
    });
}

PlayListCommands::~PlayListCommands() {
    transport_.setPlayNextEntry({});
    delete window_;
}

void PlayListCommands::open() {
    if (documents_.fileCommands().refusedInPlayMode()) {
        return;
    }
    // One list at a time: a second command finds the open one rather than dropping its
    // unsaved changes.
    if (window_ != nullptr) {
        window_->show();
        window_->raise();
        window_->activateWindow();
        return;
    }
    const std::optional<std::string> path = documents_.fileCommands().choosePlayList();
    if (!path) {
        return;
    }
    std::optional<PlayList> list = PlayList::open(app_.settings, app_.ui, *path);
    documents_.fileCommands().rememberDirectory(*path);
    if (!list) {
        return;
    }
    songWindow_ = nullptr;
    window_ = new PlayListWindow(&owner_, std::move(*list), *this);
}

bool PlayListCommands::querySave() {
    return window_ == nullptr || window_->querySave();
}

StaffWindow* PlayListCommands::songWindow() {
    if (songWindow_ == nullptr && documents_.newSong()) {
        songOpened_();
        songWindow_ = documents_.current();
    }
    return songWindow_;
}

int PlayListCommands::indexOf(StaffWindow& window) const {
    const std::vector<StaffWindow*>& windows = documents_.windows();
    return static_cast<int>(std::find(windows.begin(), windows.end(), &window) - windows.begin());
}

bool PlayListCommands::playListSong(const std::string& path) {
    // The window stays usable while a song of another window plays.
    if (documents_.fileCommands().refusedInPlayMode()) {
        return false;
    }
    StaffWindow* window = songWindow();
    if (window == nullptr) {
        return false;
    }
    documents_.activate(indexOf(*window));
    // The song of the list's window may have been edited while the list waited.
    if (!documents_.fileCommands().querySave(&window->document())) {
        return false;
    }
    const bool loaded = documents_.fileCommands().load(window->document(), path);
    window->refreshTitle();
    if (loaded) {
        window->page().setFirstBar(1);
        window->view().currentTrack = 0;
    }
    // The "Windows" menu, the track list with its voices, and the status bar follow the song.
    documents_.activate(indexOf(*window));
    window->setFocus();
    window->Redraw();
    window->RefreshStatusBar();
    if (!loaded) {
        return false;
    }
    transport_.setPlayListActive(true);
    transport_.playAll(window);
    return true;
}

void PlayListCommands::playListClosing(bool stopSong) {
    const bool listSongPlays = transport_.playListActive();
    transport_.setPlayListActive(false);
    if (stopSong && listSongPlays && transport_.playActive()) {
        transport_.buttonPressed(command::kStop);
    }
    window_->hide();
    window_->deleteLater();
    window_ = nullptr;
}
