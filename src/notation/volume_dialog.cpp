#include "notation/volume_dialog.h"

#include "model/song_edits.h"
#include "model/undo_step.h"

VolumeDialog::VolumeDialog(QWidget* parent, OMBData& song, UndoHistory& history, int currentTrack)
    : NoteShiftDialog(parent, QStringLiteral("Volume"), QStringLiteral("Adjust Amount"), 127, song,
                      history, currentTrack) {}

void VolumeDialog::apply() {
    auto step = std::make_unique<UndoStep>("Volume", UndoStep::kNowhere);
    changeVelocities(song(), chosenTrack(), amount(), step.get());
    record(std::move(step));
}
