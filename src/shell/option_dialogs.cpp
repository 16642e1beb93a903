#include "shell/option_dialogs.h"

#include <memory>

#include "app/application.h"
#include "app/command_ids.h"
#include "model/song_values.h"
#include "model/undo_history.h"
#include "notation/bar_width_dialog.h"
#include "notation/configuration_dialog.h"
#include "notation/default_velocity_dialog.h"
#include "notation/go_to_bar_dialog.h"
#include "notation/key_window.h"
#include "notation/staff_window.h"
#include "notation/time_division_dialog.h"
#include "notation/time_signature_dialog.h"
#include "shell/document_windows.h"

OptionDialogs::OptionDialogs(QWidget& parent, Application& app, const DocumentWindows& documents,
                             std::function<void()> applied)
    : parent_(parent),
      app_(app),
      documents_(documents),
      applied_(std::move(applied)),
      runDialog_([](QDialog& dialog) { return dialog.exec(); }) {}

void OptionDialogs::open(int id) {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    StaffWindow& staff = *current;
    OMBData& song = staff.document().song;
    if (id == command::kKeySignature) {
        auto* keys = new KeyWindow(&staff, song, staff.document().history, staff.glyphs(),
                                   [&staff] { staff.Redraw(); });
        keys->show();
        return;
    }
    std::unique_ptr<QDialog> dialog;
    switch (id) {
        case command::kGoToBar:
            dialog = std::make_unique<GoToBarDialog>(&parent_, staff.page(), app_.ui);
            break;
        case command::kBarWidth:
            dialog =
                std::make_unique<BarWidthDialog>(&parent_, staff.page(), app_.settings, app_.ui);
            break;
        case command::kTimeSignature:
            dialog = std::make_unique<TimeSignatureDialog>(&parent_, song, app_.ui);
            break;
        case command::kTimeDivision:
            dialog = std::make_unique<TimeDivisionDialog>(&parent_, song, app_.ui);
            break;
        default:
            dialog = std::make_unique<DefaultVelocityDialog>(&parent_, app_.timing, app_.ui);
            break;
    }
    const SongValues before = SongValues::of(song);
    if (runDialog_(*dialog) == QDialog::Accepted) {
        recordValues(id, before, staff.document().history);
        staff.Redraw();
        staff.RefreshStatusBar();
        applied_();
    }
}

void OptionDialogs::recordValues(int id, const SongValues& before, UndoHistory& history) {
    // Go To Bar, Bar Width and Default Velocity change the view or the entry, not the song.
    const char* name = id == command::kTimeSignature  ? "Time Signature"
                       : id == command::kTimeDivision ? "Time Division"
                                                      : nullptr;
    if (name != nullptr) {
        auto step = std::make_unique<UndoStep>(name, UndoStep::kNowhere);
        step->add(std::make_unique<SongValuesChange>(before, history.song()));
        history.record(std::move(step));
    }
}

void OptionDialogs::configuration() {
    ConfigurationDialog dialog(&parent_, app_.deviceConfiguration);
    runDialog_(dialog);
}
