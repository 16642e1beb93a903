#pragma once

#include <string>

#include "notation/option_dialog.h"

class QLineEdit;

// "Voice Title": a new name for a voice, starting from its present one.
class VoiceTitleDialog : public OptionDialog {
    Q_OBJECT

public:
    // A voice name keeps at most this many characters.
    static constexpr int kMaxNameChars = 12;

    VoiceTitleDialog(QWidget* parent, const QString& name);

    QLineEdit& title() { return *title_; }
    // The name OK took: the first 12 characters of the edit.
    const std::string& name() const { return name_; }

protected:
    void apply() override;

private:
    QLineEdit* title_;
    std::string name_;
};
