#include "notation/status_bar.h"

#include <QPainter>

#include "app/song_document.h"
#include "qt/bar_panel.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace {

constexpr QColor kFace{192, 192, 192};
constexpr int kTextTop = 3;
constexpr int kNameShownAbove = 7;
// About one character in 8 pixels fits the name's panel.
constexpr int kPixelsPerNameChar = 8;

}  // namespace

StatusBar::StatusBar(QWidget* parent, const SongDocument& document, const StaffViewState& view,
                     const StaffPage& page, const int& speedPercent)
    : QWidget(parent), document_(document), view_(view), page_(page), speedPercent_(speedPercent) {
    setObjectName("statusBar");
    refresh();
}

void StatusBar::refresh() {
    shownBar_ = page_.barsBeforePage();
    update();
}

void StatusBar::updateBarField() {
    shownBar_ = page_.firstBar();
    update();
}

void StatusBar::fit() {
    const QRect client = parentWidget()->rect();
    setGeometry(client.left(), client.bottom() + 1 - kHeight, client.width() - 1, kHeight);
}

QString StatusBar::fileNameField(const std::string& fileName, int barWidth) {
    if (fileName.size() <= kNameShownAbove) {
        return {};
    }
    const std::size_t lastSlash = fileName.rfind('/');
    std::string text = fileName.substr(0, 3) + "..." +
                       fileName.substr(lastSlash == std::string::npos ? 0 : lastSlash);
    // A bar too narrow for the panel leaves the name whole rather than showing nothing.
    const int limit = (barWidth - 280) / kPixelsPerNameChar;
    if (limit >= 0 && text.size() > static_cast<std::size_t>(limit)) {
        text = text.substr(0, limit) + "...";
    }
    return QString::fromStdString(text);
}

QString StatusBar::barField() const {
    return QStringLiteral("Bar : %1").arg(shownBar_);
}

QString StatusBar::trackField() const {
    return QStringLiteral("Track : %1").arg(view_.currentTrack + 1);
}

QString StatusBar::tempoField() const {
    return QStringLiteral("Tempo : %1").arg(document_.song.timing().defaultTempo);
}

QString StatusBar::speedField() const {
    return speedPercent_ == 100 ? QString() : QStringLiteral("Speed %1%").arg(speedPercent_);
}

void StatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kFace);
    const int right = width();
    const int bottom = height();
    drawBarPanel(painter, 0, right - 280, 0, bottom);
    drawBarPanel(painter, right - 279, right - 193, 0, bottom);
    drawBarPanel(painter, right - 192, right - 93, 0, bottom);
    drawBarPanel(painter, right - 92, right, 0, bottom);

    painter.setPen(Qt::black);
    const int baseline = kTextTop + QFontMetrics(font()).ascent();
    painter.drawText(6, baseline, fileNameField(document_.fileName, right));
    painter.drawText(right - 270, baseline, trackField());
    painter.drawText(right - 80, baseline, barField());
    painter.drawText(right - 184, baseline, tempoField());
    // At the right end of the name's panel, next to the tempo's.
    const QString speed = speedField();
    painter.drawText(right - 286 - QFontMetrics(font()).horizontalAdvance(speed), baseline, speed);
}
