#include "shell/session_settings.h"

#include <algorithm>
#include <optional>

#include "app/application.h"
#include "notation/staff_window.h"

namespace {

// The stored place of the main window falls back to these.
constexpr int kFallbackTop = 0;
constexpr int kFallbackLeft = 0;
constexpr int kWidthBase = 639;
constexpr int kHeightBase = 479;
// A first start is tall enough for the piano roll without scrolling on a common screen.
constexpr int kFirstStartWidth = 800;
constexpr int kFirstStartHeight = 760;

}  // namespace

SessionSettings::SessionSettings(Application& app) : app_(app) {
    Settings& settings = app.settings;
    // The division is only checked: a new song starts with the standard one.
    settings.division();
    app.timing.defaultTempo = settings.tempo();
    app.timing.defaultVelocity = settings.velocity();
    app.deviceConfiguration.selectSavedOutput();
    maximizeControl_ = settings.maximizeControl();
    app.soundFontState.useForAllSongs = settings.useAwe();
    settings.lastDir();
    place_ = settings.readPlacement(kPlacementName, kFallbackTop, kFallbackLeft, kWidthBase,
                                    kHeightBase, std::nullopt);
    placeStored_ = settings.placementSizeStored(kPlacementName, kWidthBase, kHeightBase);
}

WindowPlacement SessionSettings::startPlace(QSize wanted, QRect available) const {
    WindowPlacement place = place_;
    if (!placeStored_) {
        place = {available.top(), available.left(),
                 std::max({place.width, wanted.width(), kFirstStartWidth}),
                 std::max({place.height, wanted.height(), kFirstStartHeight})};
    }
    place.width = std::min(place.width, available.width());
    place.height = std::min(place.height, available.height());
    place.left = std::clamp(place.left, available.left(), available.right() + 1 - place.width);
    place.top = std::clamp(place.top, available.top(), available.bottom() + 1 - place.height);
    return place;
}

void SessionSettings::write(StaffWindow* current, bool animate, bool hide) {
    Settings& settings = app_.settings;
    if (current != nullptr) {
        settings.setNumber(settings_keys::kDivision, current->document().song.timeDivision);
        settings.setNumber(settings_keys::kNumberOfBeats, current->page().barsPerPage());
        settings.setNumber(settings_keys::kTempo, app_.timing.defaultTempo);
        settings.setNumber(settings_keys::kVelocity, app_.timing.defaultVelocity);
        settings.setText(settings_keys::kStaffOrPiano,
                         current->view().pianoRoll ? "PIANO" : "STAFF");
    }
    settings.setFlag(settings_keys::kAnimate, animate);
    settings.setFlag(settings_keys::kHide, hide);
    settings.setFlag(settings_keys::kMaximizeControl, maximizeControl_);
    settings.setFlag(settings_keys::kMaximizeStaff, maximizeStaff_);
    settings.setFlag(settings_keys::kUseAwe, app_.soundFontState.useForAllSongs);
}

void SessionSettings::savePlace(int top, int left, int width, int height) {
    app_.settings.savePlacement(kPlacementName, top, left, width, height);
}
