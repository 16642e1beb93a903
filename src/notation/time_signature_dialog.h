#pragma once

#include <memory>

#include "model/undo_step.h"
#include "notation/option_dialog.h"

class OMBData;
class QComboBox;
class Ui;

// "Time Signiture": beats per bar 2-6 over a beat unit of 4 or 8, for the song and its
// time-signature events at tick 0; the song is marked changed.
class TimeSignatureDialog : public OptionDialog {
    Q_OBJECT

public:
    TimeSignatureDialog(QWidget* parent, OMBData& song, Ui& ui);

    QComboBox& numerators() { return *numerators_; }
    QComboBox& denominators() { return *denominators_; }
    // What OK did to the song, as one undo step; null before OK.
    std::unique_ptr<UndoStep> takeStep() { return std::move(step_); }

protected:
    void apply() override;

private:
    OMBData& song_;
    Ui& ui_;
    QComboBox* numerators_;
    QComboBox* denominators_;
    std::unique_ptr<UndoStep> step_;
};
