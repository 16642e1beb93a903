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
    if (id == command::kDefaultVelocity) {
        defaultVelocity();
        return;
    }
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    StaffWindow& staff = *current;
    OMBData& song = staff.document().song;
    if (id == command::kKeySignature) {
        openKeyWindow(staff);
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
        case command::kTimeSignature: {
            auto signature = std::make_unique<TimeSignatureDialog>(&parent_, song, app_.ui);
            if (runDialog_(*signature) == QDialog::Accepted) {
                staff.document().history.record(signature->takeStep());
                staff.Redraw();
                staff.RefreshStatusBar();
                applied_();
            }
            return;
        }
        case command::kTimeDivision:
            dialog = std::make_unique<TimeDivisionDialog>(&parent_, song, app_.ui);
            break;
        default:
            return;
    }
    const SongValues before = SongValues::of(song);
    if (runDialog_(*dialog) == QDialog::Accepted) {
        recordValues(id, before, staff.document().history);
        staff.Redraw();
        staff.RefreshStatusBar();
        applied_();
    }
}

// The default velocity is the program's, not a song's, so it is set with no song open too.
void OptionDialogs::defaultVelocity() {
    DefaultVelocityDialog dialog(&parent_, app_.timing, app_.ui);
    if (runDialog_(dialog) != QDialog::Accepted) {
        return;
    }
    if (StaffWindow* current = documents_.current()) {
        current->Redraw();
        current->RefreshStatusBar();
    }
    applied_();
}

// The key window belongs to the main window but edits one song, so it goes with that song's
// staff window.
void OptionDialogs::openKeyWindow(StaffWindow& staff) {
    auto* keys = new KeyWindow(&parent_, staff.document().song, staff.document().history,
                               staff.glyphs(), [&staff] { staff.Redraw(); });
    QObject::connect(&staff, &QObject::destroyed, keys, [keys] { delete keys; });
    keys->show();
}

void OptionDialogs::recordValues(int id, const SongValues& before, UndoHistory& history) {
    // Go To Bar, Bar Width and Default Velocity change the view or the entry, not the song.
    if (id == command::kTimeDivision) {
        auto step = std::make_unique<UndoStep>("Time Division", UndoStep::kNowhere);
        step->add(std::make_unique<SongValuesChange>(before, history.song()));
        history.record(std::move(step));
    }
}

bool OptionDialogs::configuration() {
    ConfigurationDialog dialog(&parent_, app_.deviceConfiguration);
    return runDialog_(dialog) == QDialog::Accepted;
}
