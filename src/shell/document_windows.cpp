#include "shell/document_windows.h"

#include <QMdiArea>
#include <algorithm>

#include "app/application.h"
#include "app/song_document.h"
#include "notation/staff_window.h"
#include "platform/ui.h"
#include "shell/main_menu.h"

DocumentWindows::DocumentWindows(Application& app, StaffWindowHost& host, QMdiArea& frame,
                                 MainMenu& menu, std::function<bool()> playActive,
                                 std::function<void()> currentChanged)
    : app_(app),
      host_(host),
      frame_(frame),
      menu_(menu),
      fileCommands_(app.ui, app.settings, app.voices, std::move(playActive)),
      currentChanged_(std::move(currentChanged)) {
    frameActivation_ = QObject::connect(
        &frame_, &QMdiArea::subWindowActivated, &frame_, [this](QMdiSubWindow* window) {
            if (auto* staff = qobject_cast<StaffWindow*>(window); staff && !activating_) {
                staffWindowClicked(*staff);
            }
        });
}

DocumentWindows::~DocumentWindows() {
    QObject::disconnect(frameActivation_);
}

bool DocumentWindows::openStartupSong(const std::string& fileName) {
    create(fileName.empty() ? SongSource::New : SongSource::File, fileName);
    return current_ != nullptr;
}

bool DocumentWindows::newSong() {
    return create(SongSource::New) != nullptr;
}

bool DocumentWindows::openSong() {
    if (fileCommands_.refusedInPlayMode()) {
        return false;
    }
    create(SongSource::AskForFile);
    return current_ != nullptr;
}

bool DocumentWindows::openDroppedSongs(const std::vector<std::string>& fileNames) {
    if (fileCommands_.refusedInPlayMode()) {
        return false;
    }
    for (const std::string& fileName : fileNames) {
        // One box says that no more songs fit, not one for every file left.
        const bool full = windows_.size() >= kMaxStaffWindows;
        create(SongSource::File, fileName);
        if (full) {
            break;
        }
    }
    return current_ != nullptr;
}

void DocumentWindows::saveSong(bool askForName) {
    if (fileCommands_.refusedInPlayMode() || current_ == nullptr) {
        return;
    }
    SongDocument& document = current_->document();
    if (askForName ? fileCommands_.saveAs(document) : fileCommands_.save(document)) {
        current_->refreshTitle();
        current_->RefreshStatusBar();
        rebuildWindowsMenu();
    }
}

StaffWindow* DocumentWindows::create(SongSource source, const std::string& fileName) {
    if (windows_.size() >= kMaxStaffWindows) {
        app_.ui.errorBox("Too many songs open - close one first");
        return nullptr;
    }
    std::optional<std::string> path;
    if (source == SongSource::AskForFile) {
        path = fileCommands_.chooseSongToOpen();
        if (!path) {
            return nullptr;
        }
    } else if (source == SongSource::File) {
        path = fileName;
    }
    auto* window = new StaffWindow(app_, host_, fileCommands_.newSongName());
    if (path) {
        // A file that failed to load gets no window, unless the load kept some of its song
        // (a damaged track stops the load after the tracks before it): those are shown, so
        // they can be saved elsewhere.
        if (!fileCommands_.load(window->document(), *path) && !keptAnything(window->document())) {
            delete window;
            return nullptr;
        }
        window->refreshTitle();
    }
    add(*window);
    if (path && window->document().song.tracksLeftOut() > 0) {
        app_.ui.notice(window->document().song.tracksLeftOutText());
    }
    return window;
}

bool DocumentWindows::keptAnything(const SongDocument& document) {
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        if (document.song.track(track).count() > 0) {
            return true;
        }
    }
    return false;
}

void DocumentWindows::add(StaffWindow& window) {
    windows_.push_back(&window);
    current_ = &window;
    activating_ = true;
    frame_.addSubWindow(&window);
    window.placeAndShow(static_cast<int>(windows_.size()), frame_.viewport()->size());
    activating_ = false;
    activate(static_cast<int>(windows_.size()) - 1);
}

void DocumentWindows::activate(int index) {
    if (index >= 0 && index < static_cast<int>(windows_.size())) {
        current_ = windows_[index];
        activating_ = true;
        frame_.setActiveSubWindow(current_);
        activating_ = false;
    }
    rebuildWindowsMenu();
    currentChanged_();
}

void DocumentWindows::activateListed(int index) {
    if (index < static_cast<int>(windows_.size())) {
        activate(index);
    }
}

bool DocumentWindows::querySaveAll() {
    if (fileCommands_.refusedInPlayMode()) {
        return false;
    }
    StaffWindow* const before = current_;
    bool goAhead = true;
    for (std::size_t i = 0; i < windows_.size() && goAhead; ++i) {
        activate(static_cast<int>(i));
        goAhead = fileCommands_.querySave(&windows_[i]->document());
    }
    if (before != nullptr && indexOf(before) >= 0) {
        activate(indexOf(before));
    }
    return goAhead;
}

void DocumentWindows::closeAll() {
    closing_ = true;
    for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
        (*window)->closeWithoutAsking();
    }
}

void DocumentWindows::rebuildWindowsMenu() {
    QStringList names;
    for (const StaffWindow* window : windows_) {
        const std::string& name = window->document().fileName;
        const std::size_t slash = name.rfind('/');
        names << QString::fromStdString(slash == std::string::npos ? name : name.substr(slash));
    }
    menu_.rebuildWindows(names, indexOf(current_));
}

int DocumentWindows::indexOf(const StaffWindow* window) const {
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    return found == windows_.end() ? -1 : static_cast<int>(found - windows_.begin());
}

void DocumentWindows::staffWindowClicked(StaffWindow& window) {
    if (&window != current_ && !closing_) {
        activate(indexOf(&window));
    }
}

bool DocumentWindows::mayCloseStaffWindow(StaffWindow& window) {
    staffWindowClicked(window);
    return fileCommands_.querySave(&window.document());
}

void DocumentWindows::staffWindowClosed(StaffWindow& window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
    if (closing_) {
        return;
    }
    current_ = nullptr;
    activate(windows_.empty() ? -1 : 0);
}
