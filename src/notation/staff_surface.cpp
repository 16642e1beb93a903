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
    QPainter(this).drawImage(event->rect(), image_, event->rect());
}

void StaffSurface::resizeEvent(QResizeEvent* event) {
    image_ = QImage(event->size().expandedTo({1, 1}), QImage::Format_RGB32);
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
