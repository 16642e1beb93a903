#pragma once

#include "notation/option_dialog.h"

class OMBData;
class QComboBox;
class Ui;

// "Time Division": the song's ticks per quarter note, from the values a MIDI file commonly
// carries.
class TimeDivisionDialog : public OptionDialog {
    Q_OBJECT

public:
    TimeDivisionDialog(QWidget* parent, OMBData& song, Ui& ui);

    QComboBox& divisions() { return *divisions_; }

protected:
    void apply() override;

private:
    OMBData& song_;
    Ui& ui_;
    QComboBox* divisions_;
};
