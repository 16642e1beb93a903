#pragma once

#include "notation/option_dialog.h"

class OMBData;
class QComboBox;
class Ui;

// "Time Signiture": beats per bar 2-6 over a beat unit of 4 or 8. The time signature is the
// program's, shared by every song; the song shown is marked changed.
class TimeSignatureDialog : public OptionDialog {
    Q_OBJECT

public:
    TimeSignatureDialog(QWidget* parent, OMBData& song, Ui& ui);

    QComboBox& numerators() { return *numerators_; }
    QComboBox& denominators() { return *denominators_; }

protected:
    void apply() override;

private:
    OMBData& song_;
    Ui& ui_;
    QComboBox* numerators_;
    QComboBox* denominators_;
};
