#pragma once

class Application;
class DocumentWindows;
class OptionDialogs;

// Transpose, Volume and Song Summary on the current song, through the option dialogs'
// runner. Window thread only.
class WholeSongCommands {
public:
    WholeSongCommands(Application& app, DocumentWindows& documents, OptionDialogs& dialogs);

    // command::kTranspose or command::kVolume: the dialog, then the song redrawn.
    void shiftNotes(int id);
    // Shows the summary; a double-clicked line's track becomes the current track.
    void songSummary();

private:
    Application& app_;
    DocumentWindows& documents_;
    OptionDialogs& dialogs_;
};
