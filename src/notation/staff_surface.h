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

    QImage& image() { return image_; }
    // Clears the image to white, the paper of every page.
    void clear();
    // Called after each resize, with the image already at the new size.
    void setResizeHandler(std::function<void()> handler) { resizeHandler_ = std::move(handler); }
    // Called on every mouse press, before anything else sees it.
    void setPressHandler(std::function<void()> handler) { pressHandler_ = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    std::function<void()> resizeHandler_;
    std::function<void()> pressHandler_;
};
