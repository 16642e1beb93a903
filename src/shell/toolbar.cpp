#include "shell/toolbar.h"

#include <QComboBox>

#include "app/command_ids.h"
#include "qt/bitmap_resource.h"
#include "shell/tool_button.h"

namespace {

struct ButtonGroup {
    int firstId;
    int x;
    int y;
    int width;
    // Pictures by button: normal, pressed, disabled.
    std::array<const char*, 6> normal;
    std::array<const char*, 6> pressed;
    std::array<const char*, 6> disabled;
};

constexpr ButtonGroup kTransport{
    command::kPrevPage,
    2,
    2,
    63,
    {"ID_PREV_B", "ID_NEXT_B", "ID_PAUSE_B", "ID_PLAY_B", "ID_PLAYA_B", "ID_STOP_B"},
    {"ID_PREV_BP", "ID_NEXT_BP", "ID_PAUSE_BP", "ID_PLAY_BP", "ID_PLAYA_BP", "ID_STOP_BP"},
    {"ID_PREV_BD", "ID_NEXT_BD", "ID_PAUSE_BD", "ID_PLAY_BD", "ID_PLAYA_BD", "ID_STOP_BD"}};
// Only Record is ever disabled, so every mode button shares its disabled picture.
constexpr ButtonGroup kModes{command::kStaffOrPiano,
                             385,
                             25,
                             19,
                             {"STAFFB", "DSOLOB", "PSOLOB", "ANIMB", "HIDEB", "RECORDB"},
                             {"PIANOB", "DSOLOP", "PSOLOP", "ANIMP", "HIDEP", "RECORDP"},
                             {"RECORDD", "RECORDD", "RECORDD", "RECORDD", "RECORDD", "RECORDD"}};
constexpr ButtonGroup kNoteValues{command::kNoteButtonFirst,
                                  385,
                                  0,
                                  19,
                                  {"TB_0", "TB_1", "TB_2", "TB_3", "TB_4", "TB_5"},
                                  {"TBP_0", "TBP_1", "TBP_2", "TBP_3", "TBP_4", "TBP_5"},
                                  {"TB_0", "TB_1", "TB_2", "TB_3", "TB_4", "TB_5"}};
constexpr std::array<const ButtonGroup*, 3> kGroups{&kTransport, &kModes, &kNoteValues};

constexpr int kComboX = 505;
constexpr int kComboWidth = 120;
constexpr int kComboDropDownHeight = 360;

}  // namespace

Toolbar::Toolbar(QWidget* parent, std::function<void(int)> dispatch) : QWidget(parent) {
    setFixedHeight(kHeight);
    int made = 0;
    for (const ButtonGroup* group : kGroups) {
        for (int i = 0; i < 6; ++i) {
            auto* button = new ToolButton(group->firstId + i, bitmapResource(group->normal[i]),
                                          bitmapResource(group->pressed[i]),
                                          bitmapResource(group->disabled[i]), this);
            button->move(group->x + group->width * i, group->y);
            connect(button, &QAbstractButton::clicked, this,
                    [dispatch, id = button->id()] { dispatch(id); });
            connect(button, &QAbstractButton::pressed, this,
                    [this, id = button->id()] { emit buttonPressed(id); });
            buttons_[made++] = button;
        }
    }
    button(command::kPrevPage)->setShowsHeldDown(true);
    button(command::kNextPage)->setShowsHeldDown(true);

    trackCombo_ = new QComboBox(this);
    trackCombo_->setObjectName("trackCombo");
    trackCombo_->setFocusPolicy(Qt::NoFocus);
    trackCombo_->setGeometry(kComboX, 0, kComboWidth, trackCombo_->sizeHint().height());
    trackCombo_->setMaxVisibleItems(kComboDropDownHeight / trackCombo_->sizeHint().height());
    // Only a choice by the user changes the track, not the refill of the list.
    connect(trackCombo_, &QComboBox::activated, this,
            [dispatch] { dispatch(command::kTrackCombo); });
}

ToolButton* Toolbar::button(int id) const {
    for (ToolButton* button : buttons_) {
        if (button->id() == id) {
            return button;
        }
    }
    return nullptr;
}
