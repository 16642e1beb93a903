#include "shell/whole_song_commands.h"

#include <memory>

#include "app/application.h"
#include "app/command_ids.h"
#include "app/song_summary.h"
#include "notation/song_summary_dialog.h"
#include "notation/staff_window.h"
#include "notation/transpose_dialog.h"
#include "notation/volume_dialog.h"
#include "platform/wait_cursor.h"
#include "shell/document_windows.h"
#include "shell/option_dialogs.h"

WholeSongCommands::WholeSongCommands(Application& app, DocumentWindows& documents,
                                     OptionDialogs& dialogs)
    : app_(app), documents_(documents), dialogs_(dialogs) {}

void WholeSongCommands::shiftNotes(int id) {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    SongDocument& document = current->document();
    const int track = current->view().currentTrack;
    std::unique_ptr<QDialog> dialog;
    if (id == command::kTranspose) {
        dialog = std::make_unique<TransposeDialog>(&dialogs_.parent(), document.song,
                                                   document.history, track);
    } else {
        dialog = std::make_unique<VolumeDialog>(&dialogs_.parent(), document.song, document.history,
                                                track);
    }
    if (dialogs_.run(*dialog) == QDialog::Accepted) {
        current->Redraw();
        current->RefreshStatusBar();
    }
}

void WholeSongCommands::songSummary() {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    std::unique_ptr<SongSummaryDialog> dialog;
    {
        const WaitCursor waitCursor(app_.ui);
        dialog = std::make_unique<SongSummaryDialog>(
            &dialogs_.parent(), SongSummary::of(current->document().song, app_.voices));
    }
    dialogs_.run(*dialog);
    if (dialog->chosenTrack() < 0) {
        return;
    }
    current->view().currentTrack = dialog->chosenTrack();
    // The toolbar's track list shows the new current track.
    documents_.activate(-1);
    current->Redraw();
    current->RefreshStatusBar();
}
