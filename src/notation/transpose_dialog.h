#pragma once

#include "notation/note_shift_dialog.h"

class QCheckBox;

// "Transpose": moves the notes of the current track or of the whole song by -12 to 12
// semitones; drum notes move only when "Include Drums ( channel 10 )" is checked.
class TransposeDialog : public NoteShiftDialog {
    Q_OBJECT

public:
    TransposeDialog(QWidget* parent, OMBData& song, UndoHistory& history, int currentTrack);

    QCheckBox& includeDrums() { return *includeDrums_; }

protected:
    void apply() override;

private:
    QCheckBox* includeDrums_;
};
