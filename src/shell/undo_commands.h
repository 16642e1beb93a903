#pragma once

#include <functional>

class DocumentWindows;
class MainMenu;
class QWidget;
class StaffWindow;

// Undo and Redo in the Edit menu: they replay the current song's history, and their texts
// name the step they would replay ("&Undo Paste\tCtrl+Z"), greyed when there is none.
// Window thread only.
class UndoCommands {
public:
    // window: the main window, which owns the key windows. refused answers true (after saying
    // why) while a song plays.
    UndoCommands(QWidget& window, MainMenu& menu, DocumentWindows& documents,
                 std::function<bool()> refused);

    void undo();
    void redo();
    // Brings the two items in line with the current song's history.
    void refresh();
    // The history of the window's song changed.
    void historyChanged(const StaffWindow& window);

private:
    // Shows the song as the step left it: the page, the track list, an open key window and
    // the items.
    void replayed();

    QWidget& window_;
    MainMenu& menu_;
    DocumentWindows& documents_;
    std::function<bool()> refused_;
};
