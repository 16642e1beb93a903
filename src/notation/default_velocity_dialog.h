#pragma once

#include "notation/option_dialog.h"

class QLineEdit;
class Ui;
struct SongTiming;

// "Default Velocity": the velocity of the notes the mouse enters.
class DefaultVelocityDialog : public OptionDialog {
    Q_OBJECT

public:
    DefaultVelocityDialog(QWidget* parent, SongTiming& timing, Ui& ui);

    QLineEdit& velocity() { return *velocity_; }

protected:
    void apply() override;

private:
    SongTiming& timing_;
    Ui& ui_;
    QLineEdit* velocity_;
};
