#include "shell/tool_button.h"

#include <QPainter>

ToolButton::ToolButton(int id, QPixmap normal, QPixmap pressed, QPixmap disabled, QWidget* parent)
    : QAbstractButton(parent),
      id_(id),
      normal_(std::move(normal)),
      pressed_(std::move(pressed)),
      disabled_(std::move(disabled)) {
    setFixedSize(normal_.size());
    // Clicking a button must not take the keyboard focus from the staff window.
    setFocusPolicy(Qt::NoFocus);
}

void ToolButton::setState(int state) {
    state_ = state;
    update();
}

void ToolButton::paintEvent(QPaintEvent*) {
    const QPixmap& picture = !isEnabled()                                  ? disabled_
                             : state_ == 1 || (showsHeldDown_ && isDown()) ? pressed_
                                                                           : normal_;
    QPainter(this).drawPixmap(0, 0, picture);
}
