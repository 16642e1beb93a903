#pragma once

#include <memory>

#include "notation/option_dialog.h"

class OMBData;
class QComboBox;
class QRadioButton;
class UndoHistory;
class UndoStep;

// The frame of "Transpose" and "Volume": an amount picked from -largest to largest ("0" on
// opening) and whether it applies to the current track (checked on opening) or the entire
// song. The subclass applies it as one step of the song's history.
class NoteShiftDialog : public OptionDialog {
    Q_OBJECT

public:
    QComboBox& amounts() { return *amounts_; }
    QRadioButton& currentTrack() { return *currentTrack_; }
    QRadioButton& entireSong() { return *entireSong_; }

protected:
    NoteShiftDialog(QWidget* parent, const QString& caption, const QString& amountLabel,
                    int largest, OMBData& song, UndoHistory& history, int currentTrack);

    int amount() const;
    // The current track (0-15), or kEveryTrack for the entire song.
    int chosenTrack() const;
    OMBData& song() { return song_; }
    // The edit the step holds becomes one step of the song's history (none when nothing
    // changed).
    void record(std::unique_ptr<UndoStep> step);

private:
    OMBData& song_;
    UndoHistory& history_;
    int currentTrackNumber_;
    QComboBox* amounts_;
    QRadioButton* currentTrack_;
    QRadioButton* entireSong_;
};
