#pragma once

#include "notation/option_dialog.h"

class QSpinBox;

// "Speed": the practice speed, a percentage of the song's tempo. OK stores the field's value
// in percent; Cancel leaves percent as it was.
class SpeedDialog : public OptionDialog {
    Q_OBJECT

public:
    SpeedDialog(QWidget* parent, int& percent);

    QSpinBox& speed() { return *speed_; }

protected:
    void apply() override;

private:
    int& percent_;
    QSpinBox* speed_;
};
