#pragma once

#include <QProgressDialog>
#include <string>

#include "platform/progress.h"

// The progress dialog: a bar, the text and a Cancel button, modal to the program and
// shown at once. Each step lets the window handle its events, Cancel included.
class QtProgress : public Progress {
public:
    QtProgress(const std::string& text, const std::string& title);

    bool step(double fraction) override;

private:
    static constexpr int kSteps = 1000;

    QProgressDialog dialog_;
};
