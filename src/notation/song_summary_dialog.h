#pragma once

#include <QDialog>

struct SongSummary;
class QLineEdit;
class QListWidget;

// "Song Summary": the song's format, how long it plays and a line per non-empty track.
// Double-clicking a line picks its track and closes the dialog; OK only closes it.
class SongSummaryDialog : public QDialog {
    Q_OBJECT

public:
    SongSummaryDialog(QWidget* parent, const SongSummary& summary);

    QListWidget& tracks() { return *tracks_; }
    QLineEdit& type() { return *type_; }
    QLineEdit& length() { return *length_; }
    // The track (0-15) of the line double-clicked, or -1.
    int chosenTrack() const { return chosenTrack_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* tracks_;
    QLineEdit* type_;
    QLineEdit* length_;
    int chosenTrack_ = -1;
};
