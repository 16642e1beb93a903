#include "notation/note_shift_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QRadioButton>

#include "model/song_edits.h"
#include "model/undo_history.h"

NoteShiftDialog::NoteShiftDialog(QWidget* parent, const QString& caption,
                                 const QString& amountLabel, int largest, OMBData& song,
                                 UndoHistory& history, int currentTrack)
    : OptionDialog(parent, caption),
      song_(song),
      history_(history),
      currentTrackNumber_(currentTrack) {
    amounts_ = new QComboBox(this);
    for (int amount = -largest; amount <= largest; ++amount) {
        amounts_->addItem(QString::number(amount));
    }
    amounts_->setCurrentIndex(largest);
    form().addRow(amountLabel, amounts_);
    // Radio buttons of one parent exclude each other: checking one unchecks the other.
    currentTrack_ = new QRadioButton(QStringLiteral("Current Track"), this);
    entireSong_ = new QRadioButton(QStringLiteral("Entire Song"), this);
    currentTrack_->setChecked(true);
    form().addRow(currentTrack_);
    form().addRow(entireSong_);
}

int NoteShiftDialog::amount() const {
    return amounts_->currentText().toInt();
}

int NoteShiftDialog::chosenTrack() const {
    return entireSong_->isChecked() ? kEveryTrack : currentTrackNumber_;
}

void NoteShiftDialog::record(std::unique_ptr<UndoStep> step) {
    history_.record(std::move(step));
}
