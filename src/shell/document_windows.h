#pragma once

#include <QMetaObject>
#include <functional>
#include <string>
#include <vector>

#include "app/file_commands.h"

class Application;
class MainMenu;
class QMdiArea;
class StaffWindow;
class StaffWindowHost;

// The staff windows in the main window's frame, one per open song: the list and the current
// one, New, Open, Save and Save As on them, the "Windows" menu, and the staff windows' side
// of closing and clicking. Window thread only.
class DocumentWindows {
public:
    // The "Windows" menu has ids for eleven songs.
    static constexpr int kMaxStaffWindows = 11;

    // currentChanged runs whenever the current window was made current again or changed,
    // including to none; playActive tells whether a song plays (file commands are refused).
    DocumentWindows(Application& app, StaffWindowHost& host, QMdiArea& frame, MainMenu& menu,
                    std::function<bool()> playActive, std::function<void()> currentChanged);
    ~DocumentWindows();
    DocumentWindows(const DocumentWindows&) = delete;
    DocumentWindows& operator=(const DocumentWindows&) = delete;

    StaffWindow* current() const { return current_; }
    const std::vector<StaffWindow*>& windows() const { return windows_; }
    FileCommands& fileCommands() { return fileCommands_; }

    // The song named on the command line, or a new one when the name is empty. A file that
    // cannot be found opens no window. True when a song is current afterwards.
    bool openStartupSong(const std::string& fileName);
    // New: true when a window was added.
    bool newSong();
    // Open: asks for a file. True when not refused and a song is current afterwards.
    bool openSong();
    // Songs dropped on the main window: each file opens in a window of its own, in order, as
    // Open does, with its messages; the refusal for the number of windows ends the list.
    // True when not refused and a song is current afterwards.
    bool openDroppedSongs(const std::vector<std::string>& fileNames);
    // Save, or Save As when askForName.
    void saveSong(bool askForName);

    // Makes the window at index of the list current and brings it up (-1 keeps the current
    // one), then has the controls brought in line with it.
    void activate(int index);
    // A "Windows" menu item: the window at index, when there is one.
    void activateListed(int index);

    // Asks about every changed song in list order; false at the first Cancel.
    bool querySaveAll();
    // Closes every window without asking: the program is quitting.
    void closeAll();

    void staffWindowClicked(StaffWindow& window);
    bool mayCloseStaffWindow(StaffWindow& window);
    void staffWindowClosed(StaffWindow& window);

private:
    enum class SongSource { New, AskForFile, File };

    // A new staff window on a new song, a chosen file or the named one; nullptr when refused,
    // cancelled or the file was not found.
    StaffWindow* create(SongSource source, const std::string& fileName = {});
    // Adds a made window to the frame and makes it current.
    void add(StaffWindow& window);
    // Whether a load left any note or event in the song.
    static bool keptAnything(const SongDocument& document);
    void rebuildWindowsMenu();
    int indexOf(const StaffWindow* window) const;

    Application& app_;
    StaffWindowHost& host_;
    QMdiArea& frame_;
    MainMenu& menu_;
    FileCommands fileCommands_;
    std::function<void()> currentChanged_;
    // The frame's notice of a click; it outlives this object.
    QMetaObject::Connection frameActivation_;
    std::vector<StaffWindow*> windows_;
    StaffWindow* current_ = nullptr;
    bool closing_ = false;
    // Set while this object itself changes the frame's active window, so the frame's notice
    // of it is not taken for a click.
    bool activating_ = false;
};
