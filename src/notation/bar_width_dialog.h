#pragma once

#include "notation/option_dialog.h"

class QComboBox;
class Settings;
class StaffPage;
class Ui;

// "Bar Width": Wide, Medium or Narrow bars, that is two, three or four to a page. The choice
// is kept as the "Number of Beats" setting.
class BarWidthDialog : public OptionDialog {
    Q_OBJECT

public:
    BarWidthDialog(QWidget* parent, StaffPage& page, Settings& settings, Ui& ui);

    QComboBox& widths() { return *widths_; }

protected:
    void apply() override;

private:
    StaffPage& page_;
    Settings& settings_;
    Ui& ui_;
    QComboBox* widths_;
};
