#pragma once

#include "model/track.h"
#include "staff/edit_settings.h"

class Application;
class DocumentWindows;
class MainMenu;
class OptionDialogs;

// The Edit menu and the entry options: selecting, cut, copy, paste and Set First Note on the
// current song, Delete Current Track, Dotted and the three input modes. It keeps the paste
// buffer and the entry settings every staff window shares. Window thread only.
class EditCommands {
public:
    EditCommands(Application& app, MainMenu& menu, DocumentWindows& documents,
                 OptionDialogs& dialogs);

    Track& pasteBuffer() { return pasteBuffer_; }
    EditSettings& settings() { return settings_; }

    // Set Cut/Copy Notes, or Select Entire Track: Cut and Copy become usable.
    void startSelection(bool entireTrack);
    // Cut or Copy of the selection into the paste buffer.
    void cutOrCopy(bool cut);
    // Paste or Set First Note: asks for the position (or, for Paste, the mouse).
    void pasteOrSetFirstNote(bool paste);
    void deleteCurrentTrack();
    void toggleDotted();
    void setInputMode(EditSettings::InputMode mode);

private:
    void setSelecting(bool selecting);

    Application& app_;
    MainMenu& menu_;
    DocumentWindows& documents_;
    OptionDialogs& dialogs_;
    Track pasteBuffer_{-1};
    EditSettings settings_;
};
