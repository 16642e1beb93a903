#include "notation/staff_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

StaffSurface::StaffSurface(QWidget* parent) : QWidget(parent) {
    setObjectName("staffSurface");
    // The image covers every pixel, so the system need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StaffSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawImage(QPoint(0, 0), image_);
}

QSize StaffSurface::logicalSize() const {
    return image_.deviceIndependentSize().toSize();
}

void StaffSurface::resizeEvent(QResizeEvent* event) {
    // On a screen of several device pixels to the point the image has them all, so lines and
    // text are drawn sharp; everything that draws on it measures in points, as the mouse does.
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(event->size().expandedTo({1, 1}) * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::white);
    if (resizeHandler_) {
        resizeHandler_();
    }
}

void StaffSurface::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position().toPoint());
}

void StaffSurface::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
}

void StaffSurface::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), event->position().toPoint());
}
