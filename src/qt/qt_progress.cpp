#include "qt/qt_progress.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

QtProgress::QtProgress(const std::string& text, const std::string& title)
    : dialog_(QString::fromStdString(text), QStringLiteral("Cancel"), 0, kSteps,
              QApplication::activeWindow()) {
    dialog_.setWindowTitle(QString::fromStdString(title));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoReset(false);
    dialog_.setValue(0);
    dialog_.show();
    QApplication::processEvents();
}

bool QtProgress::step(double fraction) {
    // Setting the value of a modal dialog handles the pending events, Cancel's click among them.
    dialog_.setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kSteps)));
    QApplication::processEvents();
    return !dialog_.wasCanceled();
}
