#pragma once

#include <QDialog>

#include "app/play_list.h"

class PlayListHost;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The "Play List" window: the directory of the list's songs, its MIDI files to insert from,
// the list itself ending in "-End Of List-", Play, Insert, Delete, "Pause after each" and OK.
// Modeless; it hides while one of its songs plays and comes back when that song ends. OK
// saves a changed list, Esc leaves the file as it was; either way the window is deleted
// (later) through the host. Window thread only.
class PlayListWindow : public QDialog {
    Q_OBJECT

public:
    // Shows the window on list.
    PlayListWindow(QWidget* owner, PlayList list, PlayListHost& host);

    const PlayList& list() const { return list_; }

    // Play (105): plays from the selected entry.
    void play();
    // Insert (103) and Delete (104).
    void insert();
    void deleteEntry();
    // After a song of the list has stopped: the window shows again with the next entry
    // selected, and plays it unless the list pauses there or has ended.
    void PlayNextEntry(bool stoppedByUser);
    // Before the program ends: asks whether to save a changed list. False means stay.
    bool querySave() { return list_.querySave(); }

    void accept() override;
    void reject() override;

private:
    void buildControls();
    void fillPlayList();
    // Hides the window and has the host play path; the window comes back when it fails.
    void playEntry(const std::string& path);
    void showWithFocus();

    PlayList list_;
    PlayListHost& host_;
    QLineEdit* directory_;
    QListWidget* files_;
    QListWidget* playList_;
    QPushButton* play_;
    QPushButton* insert_;
    QPushButton* delete_;
    QCheckBox* pauseAfterEach_;
    QPushButton* ok_;
    // Set while the list widget is refilled, so its selection changes are not the user's.
    bool filling_ = false;
};
