#pragma once

#include <QAbstractButton>
#include <QPixmap>

// One of the toolbar's owner-drawn buttons: its pictures are bitmaps, chosen by the button's
// state rather than by the platform's look. State 1 shows the pressed picture; a disabled
// button shows its disabled one.
class ToolButton : public QAbstractButton {
    Q_OBJECT

public:
    ToolButton(int id, QPixmap normal, QPixmap pressed, QPixmap disabled, QWidget* parent);

    int id() const { return id_; }
    int state() const { return state_; }
    void setState(int state);
    // Prev and Next look pressed while the mouse holds them down, though their state is 0.
    void setShowsHeldDown(bool shows) { showsHeldDown_ = shows; }

    QSize sizeHint() const override { return normal_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int id_;
    QPixmap normal_;
    QPixmap pressed_;
    QPixmap disabled_;
    int state_ = 0;
    bool showsHeldDown_ = false;
};
