#include "notation/staff_surface.h"

#include <QPainter>
#include <QResizeEvent>

StaffSurface::StaffSurface(QWidget* parent) : QWidget(parent) {
    setObjectName("staffSurface");
    // The image covers every pixel, so the system need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StaffSurface::clear() {
    image_.fill(Qt::white);
    update();
}

void StaffSurface::paintEvent(QPaintEvent* event) {
    QPainter(this).drawImage(event->rect(), image_, event->rect());
}

void StaffSurface::resizeEvent(QResizeEvent* event) {
    image_ = QImage(event->size().expandedTo({1, 1}), QImage::Format_RGB32);
    image_.fill(Qt::white);
    if (resizeHandler_) {
        resizeHandler_();
    }
}

void StaffSurface::mousePressEvent(QMouseEvent*) {
    if (pressHandler_) {
        pressHandler_();
    }
}
