#pragma once

#include <QDialog>

class QFormLayout;
class QLabel;

// The frame of the small option dialogs: a caption, a form of controls and OK / Cancel. The
// subclass fills its controls when it is made and reads, checks and applies them in apply(),
// which OK runs; a value that fails its check shows its message there and the dialog closes
// all the same. Cancel changes nothing.
class OptionDialog : public QDialog {
    Q_OBJECT

public:
    void accept() override;

protected:
    OptionDialog(QWidget* parent, const QString& caption);

    QFormLayout& form() { return *form_; }
    // A line of text above the controls.
    QLabel* addText(const QString& text);
    virtual void apply() = 0;

private:
    QFormLayout* form_;
};
