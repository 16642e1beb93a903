#include "notation/time_signature_dialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "model/omb_data.h"
#include "model/song_edits.h"
#include "platform/ui.h"

TimeSignatureDialog::TimeSignatureDialog(QWidget* parent, OMBData& song, Ui& ui)
    : OptionDialog(parent, QStringLiteral("Time Signiture")), song_(song), ui_(ui) {
    numerators_ = new QComboBox(this);
    numerators_->addItems({"2", "3", "4", "5", "6"});
    numerators_->setCurrentIndex(
        numerators_->findText(QString::number(song.timeSignature.beatsPerBar)));
    denominators_ = new QComboBox(this);
    denominators_->addItems({"4", "8"});
    denominators_->setCurrentIndex(
        denominators_->findText(QString::number(song.timeSignature.beatUnit)));
    form().addRow(QStringLiteral("Numerator"), numerators_);
    form().addRow(QStringLiteral("Denominator"), denominators_);
}

void TimeSignatureDialog::apply() {
    // A value the list does not hold (a signature read from a file) stays as it was.
    TimeSignature chosen = song_.timeSignature;
    const int numerator = numerators_->currentText().toInt();
    if (numerator >= 2 && numerator <= 6) {
        chosen.beatsPerBar = numerator;
    } else {
        ui_.errorBox("Invalid Numerator");
    }
    const int denominator = denominators_->currentText().toInt();
    if (denominator == 4 || denominator == 8) {
        chosen.beatUnit = denominator;
    } else {
        ui_.errorBox("Invalid Denominator");
    }
    step_ = std::make_unique<UndoStep>("Time Signature", UndoStep::kNowhere);
    setTimeSignature(song_, chosen, step_.get());
}
