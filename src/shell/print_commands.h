#pragma once

#include <QPointer>
#include <functional>

#include "notation/musical_symbols.h"
#include "notation/preview_window.h"

class Application;
class DocumentWindows;
class OptionDialogs;
class StaffWindow;

// File > Print and Print Preview on the current song: the Title / Author dialog for a song
// without a title, the print dialog and the print loop, and the preview window. Dialogs run
// through OptionDialogs' runner, so tests fill and accept them. Window thread only.
class PrintCommands {
public:
    // applied runs after the Title / Author dialog changed the song.
    PrintCommands(Application& app, const DocumentWindows& documents, OptionDialogs& dialogs,
                  std::function<void()> applied);

    void print();
    void preview();
    // The preview window last opened, while it is open.
    PreviewWindow* previewWindow() const { return preview_; }

private:
    // Asks for a title when the song has none; false when the dialog was cancelled. Setting
    // them is one undo step.
    bool askTitle(StaffWindow& staff);
    // The print dialog, proposing the page of the staff window's first bar, and the loop.
    void printSong(StaffWindow& staff);

    Application& app_;
    const DocumentWindows& documents_;
    OptionDialogs& dialogs_;
    std::function<void()> applied_;
    MusicalSymbols symbols_;
    QPointer<PreviewWindow> preview_;
};
