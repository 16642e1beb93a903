#pragma once

#include <QPointer>
#include <functional>

#include "shell/play_list_host.h"

class Application;
class DocumentWindows;
class PlayListWindow;
class QWidget;
class StaffWindow;
class Transport;

// File > "Play List...": asks for a list file and opens the one Play List window on it, then
// plays the list's songs in a staff window of their own through Play All, going on to the
// next entry each time a play stops. Window thread only.
class PlayListCommands : public PlayListHost {
public:
    // owner is the main window; songOpened runs when the list made the first song window,
    // so the commands that need a song become usable.
    PlayListCommands(Application& app, QWidget& owner, DocumentWindows& documents,
                     Transport& transport, std::function<void()> songOpened);
    ~PlayListCommands() override;
    PlayListCommands(const PlayListCommands&) = delete;
    PlayListCommands& operator=(const PlayListCommands&) = delete;

    // The Play List command (808): refused while a song plays; brings an open Play List window
    // forward; otherwise asks for a list file and opens the window on it, unless the file is
    // not a play list. The file's directory is remembered after the list has read the last
    // one, which a new list starts in.
    void open();
    // Before the program ends: asks whether to save the open list when it has changed. False
    // means the program must stay.
    bool querySave();
    // The open Play List window, or null.
    PlayListWindow* window() const { return window_; }

    bool playListSong(const std::string& path) override;
    void playListClosing(bool stopSong) override;

private:
    // The staff window the list's songs play in, made when there is none; null when no
    // window can be made.
    StaffWindow* songWindow();
    int indexOf(StaffWindow& window) const;

    Application& app_;
    QWidget& owner_;
    DocumentWindows& documents_;
    Transport& transport_;
    std::function<void()> songOpened_;
    PlayListWindow* window_ = nullptr;
    // Closing a staff window deletes it, which clears this.
    QPointer<StaffWindow> songWindow_;
};
