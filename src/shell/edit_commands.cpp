#include "shell/edit_commands.h"

#include "app/application.h"
#include "app/command_ids.h"
#include "notation/beat_dialog.h"
#include "notation/staff_window.h"
#include "platform/ui.h"
#include "platform/wait_cursor.h"
#include "shell/document_windows.h"
#include "shell/main_menu.h"
#include "shell/option_dialogs.h"

EditCommands::EditCommands(Application& app, MainMenu& menu, DocumentWindows& documents,
                           OptionDialogs& dialogs)
    : app_(app), menu_(menu), documents_(documents), dialogs_(dialogs) {
    menu_.setChecked(command::kAlignToBeat, true);
}

void EditCommands::setSelecting(bool selecting) {
    menu_.setEnabled(command::kSetCutCopy, !selecting);
    menu_.setEnabled(command::kSelectEntireTrack, !selecting);
    menu_.setEnabled(command::kCut, selecting);
    menu_.setEnabled(command::kCopy, selecting);
}

void EditCommands::startSelection(bool entireTrack) {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    setSelecting(true);
    menu_.setEnabled(command::kPaste, false);
    current->editor().beginSelection();
    if (entireTrack) {
        current->editor().selectEntireTrack();
    }
}

void EditCommands::cutOrCopy(bool cut) {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    const WaitCursor waitCursor(app_.ui);
    setSelecting(false);
    if (current->editor().cutCopy(cut) > 0) {
        menu_.setEnabled(command::kPaste, true);
    }
    app_.ui.notice(std::to_string(pasteBuffer_.count()) + " items placed in paste buffer");
}

void EditCommands::pasteOrSetFirstNote(bool paste) {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    BeatDialog dialog(&dialogs_.parent(),
                      paste ? BeatDialog::Purpose::Paste : BeatDialog::Purpose::SetFirstNote,
                      current->document().song, current->page().pageStartTick(), app_.ui);
    if (dialogs_.run(dialog) != QDialog::Accepted) {
        return;
    }
    if (dialog.choice() == BeatDialog::Choice::AtTick) {
        if (paste) {
            current->editor().paste(dialog.tick(), 0);
        } else {
            current->editor().setFirstNote(dialog.tick());
        }
    } else if (dialog.choice() == BeatDialog::Choice::UseMouse && paste) {
        settings_.pasteWithMouse = true;
    }
}

void EditCommands::deleteCurrentTrack() {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    current->editor().deleteCurrentTrack();
    // The track's voice leaves the combo box.
    documents_.activate(-1);
}

void EditCommands::toggleDotted() {
    menu_.setChecked(command::kDotted, !menu_.isChecked(command::kDotted));
    settings_.dotted = menu_.isChecked(command::kDotted);
}

void EditCommands::setInputMode(EditSettings::InputMode mode) {
    settings_.inputMode = mode;
    menu_.setChecked(command::kAlignToBeat, mode == EditSettings::InputMode::AlignToBeat);
    menu_.setChecked(command::kSequentialInput, mode == EditSettings::InputMode::Sequential);
    menu_.setChecked(command::kFreeFormInput, mode == EditSettings::InputMode::FreeForm);
}
