#include "notation/time_signature_dialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "model/omb_data.h"
#include "platform/ui.h"

TimeSignatureDialog::TimeSignatureDialog(QWidget* parent, OMBData& song, Ui& ui)
    : OptionDialog(parent, QStringLiteral("Time Signiture")), song_(song), ui_(ui) {
    numerators_ = new QComboBox(this);
    numerators_->addItems({"2", "3", "4", "5", "6"});
    numerators_->setCurrentIndex(numerators_->findText(QString::number(song.timing().beatsPerBar)));
    denominators_ = new QComboBox(this);
    denominators_->addItems({"4", "8"});
    denominators_->setCurrentIndex(denominators_->findText(QString::number(song.timing().beatUnit)));
    form().addRow(QStringLiteral("Numerator"), numerators_);
    form().addRow(QStringLiteral("Denominator"), denominators_);
}

void TimeSignatureDialog::apply() {
    SongTiming& timing = song_.timing();
    const int numerator = numerators_->currentText().toInt();
    if (numerator >= 2 && numerator <= 6) {
        timing.beatsPerBar = numerator;
    } else {
        ui_.errorBox("Invalid Numerator");
    }
    const int denominator = denominators_->currentText().toInt();
    if (denominator == 4 || denominator == 8) {
        timing.beatUnit = denominator;
    } else {
        ui_.errorBox("Invalid Denominator");
    }
    song_.changed = true;
}
