#include "notation/transpose_dialog.h"

#include <QCheckBox>
#include <QFormLayout>

#include "model/song_edits.h"
#include "model/undo_step.h"

TransposeDialog::TransposeDialog(QWidget* parent, OMBData& song, UndoHistory& history,
                                 int currentTrack)
    : NoteShiftDialog(parent, QStringLiteral("Transpose"), QStringLiteral("Number of Semitones"),
                      12, song, history, currentTrack) {
    includeDrums_ = new QCheckBox(QStringLiteral("Include Drums ( channel 10 )"), this);
    form().addRow(includeDrums_);
}

void TransposeDialog::apply() {
    auto step = std::make_unique<UndoStep>("Transpose", UndoStep::kNowhere);
    transposeNotes(song(), chosenTrack(), amount(), includeDrums_->isChecked(), step.get());
    record(std::move(step));
}
