#pragma once

#include <optional>
#include <string>
#include <vector>

#include "playback/play_list_file.h"

class Settings;
class Ui;

// The play list a Play List window works on: the list file it was opened on, the directory of
// its songs, the entries in play order, the MIDI files of the directory to insert from, and
// which entry plays. The window shows the entries followed by an end marker; indexes here are
// those of the window's list, so entries().size() is the end marker's. Window thread only.
class PlayList {
public:
    static constexpr const char* kEndOfList = "-End Of List-";
    static constexpr int kNoSelection = -1;

    // Reads the list file at path, which need not exist: a new list starts empty in the last
    // directory used. The first entry is selected; "Pause after each" comes from the settings.
    // Nothing, after "<path> cannot be read as a play list", when something else is at path
    // (a song chosen by mistake): it is never written over.
    static std::optional<PlayList> open(Settings& settings, Ui& ui, std::string path);

    const std::string& path() const { return path_; }
    // Ends in "/" unless no directory is known at all.
    const std::string& directory() const { return directory_; }
    const std::vector<std::string>& entries() const { return entries_; }
    // The *.mid files of the directory, sorted by name regardless of case.
    const std::vector<std::string>& midiFiles() const { return midiFiles_; }
    int entryCount() const { return static_cast<int>(entries_.size()); }

    // The selected entry: 0..entryCount() (the end marker), or kNoSelection.
    int selected() const { return selected_; }
    void select(int index);

    // Insert: the MIDI file at fileIndex goes before the selected entry, so with the end marker
    // (or nothing) selected it is appended; the selection stays on the entry it was on. An
    // index outside midiFiles() does nothing.
    void insert(int fileIndex);
    // Delete: removes the selected entry, not the end marker, and selects the first entry.
    void deleteSelected();
    bool modified() const { return modified_; }

    // Play: the path of the selected entry, or of the first when no real entry is selected
    // (the list ended, or the end marker is selected); it becomes the entry that plays and is
    // selected. Nothing for an empty list.
    std::optional<std::string> startPlay();
    // After an entry has played: the next one is selected. Its path when it is to play on;
    // nothing when the list pauses there (pauseAfterEach, or stopped by the user) or has ended
    // (then no entry is selected).
    std::optional<std::string> nextEntry(bool stoppedByUser);
    // An entry has started and the list has not ended or been closed.
    bool playing() const { return playing_; }

    // Before the program ends: a changed list is saved when the user wants it ("<path> has
    // changed. Do you want to save it?"). False when the user cancelled or the save failed,
    // so the program stays.
    bool querySave();

    // OK: a changed list is written to its file ("File does not exist, or is read only" when
    // that fails); "PlayList Pause" is stored either way. False when the list could not be
    // written, so the window stays and nothing is lost.
    bool save();

    bool pauseAfterEach;

private:
    PlayList(Settings& settings, Ui& ui, std::string path, PlayListFile stored);
    void listMidiFiles();
    std::string pathOf(int index) const { return directory_ + entries_[index]; }

    Settings& settings_;
    Ui& ui_;
    std::string path_;
    std::string directory_;
    std::vector<std::string> entries_;
    std::vector<std::string> midiFiles_;
    int selected_ = 0;
    int current_ = 0;
    bool modified_ = false;
    bool playing_ = false;
};
