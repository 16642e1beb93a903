#pragma once

#include <optional>

#include "notation/option_dialog.h"

class OMBData;
class QLineEdit;
class Ui;

// "Paste" and "Set First Note": a beat typed as Beat:Division text, shown beside where the
// page starts and how long a beat is. The paste form may be left empty to paste with the
// mouse instead.
class BeatDialog : public OptionDialog {
    Q_OBJECT

public:
    enum class Purpose { Paste, SetFirstNote };
    enum class Choice { Cancelled, UseMouse, AtTick };

    BeatDialog(QWidget* parent, Purpose purpose, const OMBData& song, int pageStartTick, Ui& ui);

    QLineEdit& beat() { return *beat_; }
    Choice choice() const { return choice_; }
    // With AtTick: the tick the text names.
    int tick() const { return tick_; }

protected:
    void apply() override;

private:
    const Purpose purpose_;
    const OMBData& song_;
    Ui& ui_;
    QLineEdit* beat_;
    Choice choice_ = Choice::Cancelled;
    int tick_ = 0;
};
