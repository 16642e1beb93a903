#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// The drawing area of a staff window. Drawing goes onto an image at once, as it is decided,
// and painting only copies the image to the screen, so a single note drawn or erased while
// playing costs one small update.
class StaffSurface : public QWidget {
    Q_OBJECT

public:
    explicit StaffSurface(QWidget* parent);

    // Device pixels: logicalSize() points times the screen's device pixel ratio.
    QImage& image() { return image_; }
    QSize logicalSize() const;
    // Called after each resize, with the image already at the new size.
    void setResizeHandler(std::function<void()> handler) { resizeHandler_ = std::move(handler); }

signals:
    void pressed(Qt::MouseButton button, QPoint position);
    void moved(QPoint position);
    void released(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    std::function<void()> resizeHandler_;
};
