#include "notation/speed_dialog.h"

#include <QFormLayout>
#include <QSpinBox>

#include "playback/player.h"

SpeedDialog::SpeedDialog(QWidget* parent, int& percent)
    : OptionDialog(parent, QStringLiteral("Speed")), percent_(percent) {
    speed_ = new QSpinBox(this);
    // The field cannot hold a speed outside the range, so there is nothing to reject.
    speed_->setRange(Player::kSlowestSpeedPercent, Player::kFastestSpeedPercent);
    speed_->setSuffix(QStringLiteral(" %"));
    speed_->setValue(percent);
    form().addRow(QStringLiteral("Play at this percent of the song's tempo: "), speed_);
}

void SpeedDialog::apply() {
    speed_->interpretText();
    percent_ = speed_->value();
}
