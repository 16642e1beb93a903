#include "shell/control_bar.h"

#include <QPainter>

#include "model/song_timing.h"
#include "platform/clock.h"
#include "qt/bar_panel.h"

namespace {

constexpr QColor kFace{192, 192, 192};
constexpr int kTextTop = 3;

}  // namespace

ControlBar::ControlBar(QWidget* parent, const Clock& clock, const SongTiming& timing,
                       const bool& soundFontControl)
    : QWidget(parent),
      clock_(clock),
      timing_(timing),
      soundFontControl_(soundFontControl),
      messageTimeMs_(clock.milliseconds()) {
    setFixedHeight(kHeight);
    setObjectName("controlBar");
}

void ControlBar::showMessage(const QString& text) {
    messageTimeMs_ = clock_.milliseconds();
    message_ = text;
    repaint();
}

void ControlBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kFace);
    const int right = width();
    const int bottom = height();
    const int top = bottom - kHeight;
    drawBarPanel(painter, 0, right - 210, top, bottom);
    drawBarPanel(painter, right - 209, right - 104, top, bottom);
    drawBarPanel(painter, right - 103, right, top, bottom);

    painter.setPen(Qt::black);
    const QFontMetrics metrics(font());
    const auto drawText = [&](int x, const QString& text) {
        painter.drawText(x, kTextTop + metrics.ascent(), text);
    };
    // The message keeps clear of the velocity panel, however long it is.
    painter.save();
    painter.setClipRect(0, 0, right - 212, bottom);
    drawText(6, message_);
    painter.restore();
    if (clock_.milliseconds() - messageTimeMs_ > kMessageLifetimeMs) {
        message_.clear();
    }
    if (soundFontControl_) {
        drawText(right - 95, QStringLiteral("AWE Enabled"));
    }
    drawText(right - 197, QStringLiteral("Velocity : %1").arg(timing_.defaultVelocity));
}
