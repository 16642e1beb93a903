#include "qt/bar_panel.h"

#include <QPainter>

namespace {

// Light top and left edges over dark bottom and right ones look raised; swapped, sunken.
void drawFrame(QPainter& painter, int left, int top, int right, int bottom, const QColor& light,
               const QColor& dark) {
    painter.setPen(light);
    painter.drawLine(left, bottom, left, top);
    painter.drawLine(left, top, right, top);
    painter.setPen(dark);
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left, bottom);
}

}  // namespace

void drawBarPanel(QPainter& painter, int left, int right, int top, int bottom) {
    drawFrame(painter, left, top, right - 1, bottom - 1, Qt::white, Qt::black);
    drawFrame(painter, left + 2, top + 2, right - 3, bottom - 3, Qt::black, Qt::white);
}
