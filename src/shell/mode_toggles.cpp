#include "shell/mode_toggles.h"

#include "app/application.h"
#include "app/command_ids.h"
#include "notation/staff_window.h"
#include "platform/ui.h"
#include "shell/document_windows.h"
#include "shell/main_menu.h"
#include "shell/tool_button.h"
#include "shell/toolbar.h"

namespace {

constexpr int kNoteButtons = 6;
constexpr int kEighthNote = 3;

}  // namespace

ModeToggles::ModeToggles(Application& app, MainMenu& menu, Toolbar& toolbar,
                         const DocumentWindows& documents)
    : app_(app), menu_(menu), toolbar_(toolbar), documents_(documents) {
    const Settings& settings = app.settings;
    menu_.setChecked(command::kAnimate, settings.animate());
    menu_.setChecked(command::kMinimizeOnPlay, settings.hide());
    setState(command::kStaffOrPiano, settings.staffNotation() ? 1 : 0);
    setState(command::kAnimateButton, settings.animate() ? 0 : 1);
    setState(command::kMinimizeButton, settings.hide() ? 1 : 0);
    toolbar_.button(command::kNoteButtonFirst + kEighthNote)->setState(1);
}

void ModeToggles::showWindow(StaffWindow* window) {
    if (window == nullptr) {
        setState(command::kDisplaySolo, 0);
        setState(command::kPlaySolo, 0);
        return;
    }
    const StaffViewState& view = window->view();
    showNoteValue(view.noteValue);
    setState(command::kStaffOrPiano, view.pianoRoll ? 0 : 1);
    setState(command::kDisplaySolo, view.displaySolo ? 1 : 0);
    setState(command::kPlaySolo, view.playSolo ? 1 : 0);
}

void ModeToggles::toggleStaffOrPiano() {
    if (StaffWindow* current = documents_.current()) {
        current->SetPianoRoll(!current->view().pianoRoll);
    }
    const bool staff = toolbar_.button(command::kStaffOrPiano)->state() == 0;
    setState(command::kStaffOrPiano, staff ? 1 : 0);
    app_.ui.notice(staff ? "Staff Notation Selected" : "Piano Roll Notation Selected");
    app_.settings.setText(settings_keys::kStaffOrPiano, staff ? "STAFF" : "PIANO");
}

void ModeToggles::toggleDisplaySolo() {
    toggleSolo(command::kDisplaySolo, &StaffViewState::displaySolo, "Display Solo Selected",
               "Display All Selected");
    if (StaffWindow* current = documents_.current()) {
        current->Redraw();
    }
}

void ModeToggles::togglePlaySolo() {
    toggleSolo(command::kPlaySolo, &StaffViewState::playSolo, "Play Solo Selected",
               "Play All Selected");
}

void ModeToggles::toggleSolo(int buttonId, bool StaffViewState::*flag, const char* onMessage,
                             const char* offMessage) {
    bool solo = toolbar_.button(buttonId)->state() == 0;
    if (StaffWindow* current = documents_.current()) {
        bool& windowFlag = current->view().*flag;
        solo = windowFlag = !windowFlag;
    }
    setState(buttonId, solo ? 1 : 0);
    app_.ui.notice(solo ? onMessage : offMessage);
}

void ModeToggles::toggleAnimate() {
    const bool animate = !menu_.isChecked(command::kAnimate);
    menu_.setChecked(command::kAnimate, animate);
    setState(command::kAnimateButton, animate ? 0 : 1);
    app_.ui.notice(animate ? "Animation Turned On" : "Animation Turned Off");
}

void ModeToggles::toggleMinimizeOnPlay() {
    const bool wasOn = menu_.isChecked(command::kMinimizeOnPlay);
    menu_.setChecked(command::kMinimizeOnPlay, !wasOn);
    setState(command::kMinimizeButton, wasOn ? 0 : 1);
    app_.ui.notice(wasOn ? "Minimize On Play Turned Off" : "Minimize On Play Turned On");
}

void ModeToggles::selectNoteValue(int value) {
    showNoteValue(value);
    if (StaffWindow* current = documents_.current()) {
        current->view().noteValue = value;
    }
}

void ModeToggles::showNoteValue(int value) {
    // The buttons show note values only. A rest or a symbol leaves them as they are: the
    // piano roll enters the note of the last button down when one of those is chosen.
    if (value < 0 || value >= kNoteButtons) {
        return;
    }
    for (int i = 0; i < kNoteButtons; ++i) {
        toolbar_.button(command::kNoteButtonFirst + i)->setState(i == value ? 1 : 0);
    }
}

int ModeToggles::currentNoteButton() const {
    int pressed = kEighthNote;
    for (int i = 0; i < kNoteButtons; ++i) {
        if (toolbar_.button(command::kNoteButtonFirst + i)->state() == 1) {
            pressed = i;
        }
    }
    return pressed;
}

void ModeToggles::setState(int buttonId, int state) {
    toolbar_.button(buttonId)->setState(state);
}
