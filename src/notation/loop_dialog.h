#pragma once

#include "notation/option_dialog.h"
#include "playback/play_loop.h"

class QSpinBox;

// "Loop Bars": the first and last bar the loop plays. OK stores them in loop and turns the
// loop on; Cancel leaves loop as it was.
class LoopDialog : public OptionDialog {
    Q_OBJECT

public:
    // The bars a field can hold.
    static constexpr int kHighestBar = 99999;

    LoopDialog(QWidget* parent, PlayLoop& loop);

    QSpinBox& firstBar() { return *firstBar_; }
    QSpinBox& lastBar() { return *lastBar_; }

protected:
    void apply() override;

private:
    PlayLoop& loop_;
    QSpinBox* firstBar_;
    QSpinBox* lastBar_;
};
