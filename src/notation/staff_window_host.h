#pragma once

class QDialog;
class StaffWindow;
class Track;
struct EditSettings;

// What a staff window needs of the window that holds it: the program's play state, the shared
// maximised flag, a say in closing and in which window is current, and news of its history.
class StaffWindowHost {
public:
    virtual ~StaffWindowHost() = default;

    // A song is playing or paused.
    virtual bool playActive() const = 0;
    // A song plays with animation: its notes appear as they sound, not with the page.
    virtual bool notesAppearWhilePlaying() const = 0;
    virtual EditSettings& editSettings() = 0;
    virtual Track& pasteBuffer() = 0;
    // The note value of the toolbar's note buttons.
    virtual int currentNoteButton() const = 0;
    virtual void setStaffMaximized(bool maximized) = 0;
    // The user clicked into a window that is not current.
    virtual void staffWindowClicked(StaffWindow& window) = 0;
    // Asks the user about unsaved changes; false keeps the window open.
    virtual bool mayCloseStaffWindow(StaffWindow& window) = 0;
    // The window is closing for good: forget it.
    virtual void staffWindowClosed(StaffWindow& window) = 0;
    // The undo history of the window's song changed: a step was recorded, undone or redone,
    // or the song was saved or loaded.
    virtual void historyChanged(StaffWindow& window) = 0;
    // Runs a modal dialog of the window (the event list, the note detail); returns its result.
    virtual int runDialog(QDialog& dialog) = 0;
};
