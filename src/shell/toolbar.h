#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class ToolButton;

// The strip above the frame: six transport buttons, six display-mode buttons above six
// note-value buttons, and the track combo box, at fixed places. Every button and the combo
// box hand their command id to the dispatcher the main window gives.
class Toolbar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 44;

    Toolbar(QWidget* parent, std::function<void(int commandId)> dispatch);

    // Any of the eighteen buttons by command id (1800..1805, 700..705, 1250..1255).
    ToolButton* button(int id) const;
    QComboBox* trackCombo() const { return trackCombo_; }

signals:
    // A button went down under the mouse, before its click: Stop and Pause act at once.
    void buttonPressed(int id);

private:
    std::array<ToolButton*, 18> buttons_{};
    QComboBox* trackCombo_;
};
