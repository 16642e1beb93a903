#include "shell/synth_commands.h"

#include <memory>

#include "app/application.h"
#include "model/program_carry.h"
#include "model/undo_history.h"
#include "notation/awe_control_dialog.h"
#include "notation/change_voices_dialog.h"
#include "notation/staff_window.h"
#include "shell/document_windows.h"
#include "shell/option_dialogs.h"

SynthCommands::SynthCommands(Application& app, const DocumentWindows& documents,
                             OptionDialogs& dialogs, std::function<void()> voicesChanged)
    : app_(app),
      documents_(documents),
      dialogs_(dialogs),
      voicesChanged_(std::move(voicesChanged)) {}

void SynthCommands::voices() {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    SongDocument& document = current->document();
    // The dialog works on copies, so that Escape leaves the names and the song as they were.
    VoiceTable table = app_.voices;
    std::array<int, OMBData::kTrackCount> programs = document.song.program;
    ChangeVoicesDialog dialog(&dialogs_.parent(), table, programs, app_.settings, app_.ui,
                              app_.profile.file().parent_path(),
                              [this](QDialog& title) { return dialogs_.run(title); });
    if (!dialog.prepare() || dialogs_.run(dialog) != QDialog::Accepted) {
        return;
    }
    app_.voices = table;
    auto step = std::make_unique<UndoStep>("Change Voices", UndoStep::kNowhere);
    carryPrograms(document.song, programs, *step);
    document.history.record(std::move(step));
    current->Redraw();
    voicesChanged_();
}

void SynthCommands::aweControl() {
    if (!app_.soundFont) {
        return;
    }
    AweControlDialog dialog(&dialogs_.parent(), *app_.soundFont, app_.soundFontState.useForAllSongs,
                            app_.settings, app_.ui);
    dialogs_.run(dialog);
}
