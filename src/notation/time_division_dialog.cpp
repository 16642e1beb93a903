#include "notation/time_division_dialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "model/omb_data.h"
#include "platform/ui.h"

TimeDivisionDialog::TimeDivisionDialog(QWidget* parent, OMBData& song, Ui& ui)
    : OptionDialog(parent, QStringLiteral("Time Division")), song_(song), ui_(ui) {
    divisions_ = new QComboBox(this);
    divisions_->addItems({"48", "72", "96", "120", "144", "168", "192", "240", "288", "336", "384",
                          "480", "576", "672", "768"});
    divisions_->setCurrentIndex(divisions_->findText(QString::number(song.timeDivision)));
    form().addRow(divisions_);
}

void TimeDivisionDialog::apply() {
    const int division = divisions_->currentText().toInt();
    if (OMBData::isValidDivision(division)) {
        song_.timeDivision = division;
    } else {
        ui_.errorBox("Invalid division, reset to 120");
        song_.timeDivision = OMBData::kDefaultDivision;
    }
    song_.changed = true;
}
