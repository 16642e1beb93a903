#pragma once

#include "notation/option_dialog.h"

class QLineEdit;
class StaffPage;
class Ui;

// "Go To Bar": the page starts after the bar line labelled with the number typed (0 is the
// start of the song).
class GoToBarDialog : public OptionDialog {
    Q_OBJECT

public:
    GoToBarDialog(QWidget* parent, StaffPage& page, Ui& ui);

    QLineEdit& bar() { return *bar_; }

protected:
    void apply() override;

private:
    StaffPage& page_;
    Ui& ui_;
    QLineEdit* bar_;
};
