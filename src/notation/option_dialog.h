#pragma once

#include <QDialog>
#include <optional>

class QDialogButtonBox;
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

    // Puts the focus in the first control, its text selected, so typing replaces the value
    // and Enter applies it; Tab runs through the controls in form order, then to the buttons.
    void showEvent(QShowEvent* event) override;

    QFormLayout& form() { return *form_; }
    // A line of text above the controls.
    QLabel* addText(const QString& text);
    virtual void apply() = 0;
    // A typed count from 0 to highest: leading digits count, as typed numbers do everywhere
    // here, and "0" alone is the only way to ask for 0, so "00" or "x" give nothing.
    static std::optional<int> typedNumber(const QString& text, int highest);

private:
    QFormLayout* form_;
    QDialogButtonBox* buttons_;
};
