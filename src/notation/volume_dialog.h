#pragma once

#include "notation/note_shift_dialog.h"

// "Volume": adds -127 to 127 to the velocity of the notes of the current track or of the
// whole song, drums included.
class VolumeDialog : public NoteShiftDialog {
    Q_OBJECT

public:
    VolumeDialog(QWidget* parent, OMBData& song, UndoHistory& history, int currentTrack);

protected:
    void apply() override;
};
