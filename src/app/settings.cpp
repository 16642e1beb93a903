#include "app/settings.h"

#include <algorithm>
#include <climits>
#include <string>

#include "model/omb_data.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "playback/player.h"
#include "staff/staff_page.h"

namespace {

// Window edges and sizes beyond this many pixels are taken as damage, not as a place.
constexpr int kMaxPlacement = 2000;
constexpr int kPlacementKeptChars = 31;

int parseDecimal(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) {
        return 0;
    }
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') {
        ++i;
    }
    // Accumulated as a negative number, whose range holds INT_MIN.
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value < (INT_MIN + digit) / 10) {
            return negative ? INT_MIN : INT_MAX;
        }
        value = value * 10 - digit;
    }
    if (negative) {
        return value;
    }
    return value == INT_MIN ? INT_MAX : -value;
}

bool sizeInRange(int size, int base) {
    return size >= base - 100 && size <= kMaxPlacement;
}

SettingKey placementKey(const std::string& name) {
    return {settings_keys::kConfigSection, name.c_str(), "-1", kPlacementKeptChars};
}

}  // namespace

Settings::Settings(Profile& profile, Ui& ui) : profile_(profile), ui_(ui) {}

std::string Settings::text(const SettingKey& key) const {
    return text(key, key.keptChars);
}

std::string Settings::text(const SettingKey& key, int keptChars) const {
    return profile_.read(key.section, key.name, key.defaultText, keptChars + 1);
}

int Settings::number(const SettingKey& key) const {
    return number(key, key.keptChars);
}

int Settings::number(const SettingKey& key, int keptChars) const {
    return parseDecimal(text(key, keptChars));
}

bool Settings::isYes(const SettingKey& key) const {
    return text(key) == "Yes";
}

bool Settings::setText(const SettingKey& key, std::string_view value) {
    if (profile_.write(key.section, key.name, value)) {
        return true;
    }
    const std::error_code error = profile_.lastWriteError();
    // One box says it: every later setting would fail the same way.
    if (error && !writeFailureReported_) {
        writeFailureReported_ = true;
        ui_.errorBox("The settings file " + profile_.file().string() + " cannot be written (" +
                         error.message() + "). Settings changed now will not be kept.",
                     "Settings", MB_OK | MB_ICONEXCLAMATION);
    }
    return false;
}

bool Settings::setNumber(const SettingKey& key, int value) {
    return setText(key, std::to_string(value));
}

bool Settings::setFlag(const SettingKey& key, bool yes) {
    return setText(key, yes ? "Yes" : "No");
}

int Settings::checkedNumber(const SettingKey& key, bool (*accepted)(int), const char* message,
                            int resetValue) const {
    const int value = number(key);
    if (accepted(value)) {
        return value;
    }
    ui_.errorBox(message);
    return resetValue;
}

int Settings::division() const {
    return checkedNumber(
        settings_keys::kDivision, [](int v) { return OMBData::isValidDivision(v); },
        "Invalid division in .ini, reset to 120", 120);
}

int Settings::tempo() const {
    return checkedNumber(
        settings_keys::kTempo, [](int v) { return v >= 8 && v <= 240; },
        "Invalid Tempo in .ini, reset to 120", 120);
}

int Settings::velocity() const {
    return checkedNumber(
        settings_keys::kVelocity,
        [](int v) { return v >= Note::kLowestSoundingVelocity && v <= 127; },
        "Invalid Velocity in .ini, reset to 80", 80);
}

AudioExporter::Level Settings::exportLevel() const {
    AudioExporter::Level level;
    if (isYes(settings_keys::kExportNormalize)) {
        level.normalizePeakDb = AudioExporter::kNormalizedPeakDb;
    } else {
        level.gainDb = checkedNumber(
            settings_keys::kExportGain, [](int v) { return v >= -40 && v <= 40; },
            "Invalid Export Gain in .ini, reset to 0", 0);
    }
    return level;
}

int Settings::barsPerPage() const {
    return checkedNumber(
        settings_keys::kNumberOfBeats, [](int v) { return StaffPage::isValidBarsPerPage(v); },
        "Invalid Number of Beats in .ini, reset to 4", 4);
}

bool Settings::staffNotation(int keptChars) const {
    return text(settings_keys::kStaffOrPiano, keptChars) == "STAFF";
}

bool Settings::animate() const {
    return text(settings_keys::kAnimate) != "No";
}

bool Settings::hide() const {
    return isYes(settings_keys::kHide);
}

bool Settings::maximizeControl() const {
    return isYes(settings_keys::kMaximizeControl);
}

bool Settings::maximizeStaff() const {
    return isYes(settings_keys::kMaximizeStaff);
}

bool Settings::useAwe() const {
    return isYes(settings_keys::kUseAwe);
}

bool Settings::playListPause() const {
    return isYes(settings_keys::kPlayListPause);
}

std::string Settings::lastDir() {
    const std::string stored = text(settings_keys::kLastDir);
    if (!stored.empty()) {
        return stored;
    }
    std::string home = Profile::homeDirectory().string();
    while (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    if (!home.empty()) {
        setText(settings_keys::kLastDir, home);
    }
    return home;
}

std::string Settings::board() const {
    return text(settings_keys::kBoard);
}

std::string Settings::inBoard() const {
    return text(settings_keys::kInBoard);
}

TrackMix Settings::trackMix() const {
    return {TrackMix::parseTrackList(text(settings_keys::kMutedTracks)),
            TrackMix::parseTrackList(text(settings_keys::kSoloedTracks))};
}

bool Settings::setTrackMix(const TrackMix& mix) {
    const bool stored =
        setText(settings_keys::kMutedTracks, TrackMix::trackListText(mix.mutedTracks()));
    return setText(settings_keys::kSoloedTracks, TrackMix::trackListText(mix.soloedTracks())) &&
           stored;
}

int Settings::speedPercent() const {
    const int percent = number(settings_keys::kSpeed);
    return percent >= Player::kSlowestSpeedPercent && percent <= Player::kFastestSpeedPercent
               ? percent
               : 100;
}

bool Settings::setSpeedPercent(int percent) {
    return setNumber(settings_keys::kSpeed, percent);
}

PlayLoop Settings::playLoop() const {
    const int firstBar = std::max(number(settings_keys::kLoopFrom), 1);
    return {isYes(settings_keys::kLoop), firstBar,
            std::max(number(settings_keys::kLoopTo), firstBar)};
}

bool Settings::setPlayLoop(const PlayLoop& loop) {
    bool stored = setFlag(settings_keys::kLoop, loop.on);
    stored = setNumber(settings_keys::kLoopFrom, loop.firstBar) && stored;
    return setNumber(settings_keys::kLoopTo, loop.lastBar) && stored;
}

MetronomeOptions Settings::metronome() const {
    MetronomeOptions options;
    options.forPlay = isYes(settings_keys::kMetronomeForPlay);
    options.forRecord = isYes(settings_keys::kMetronomeForRecord);
    options.eighthsInCompound = isYes(settings_keys::kClickEighths);
    options.countInBars = std::clamp(number(settings_keys::kCountInBars), 0, 2);
    options.accentKey = std::clamp(number(settings_keys::kAccentKey), 0, 127);
    options.accentVelocity = std::clamp(number(settings_keys::kAccentVelocity), 1, 127);
    options.beatKey = std::clamp(number(settings_keys::kBeatKey), 0, 127);
    options.beatVelocity = std::clamp(number(settings_keys::kBeatVelocity), 1, 127);
    return options;
}

bool Settings::setMetronome(const MetronomeOptions& options) {
    bool stored = setFlag(settings_keys::kMetronomeForPlay, options.forPlay);
    stored = setFlag(settings_keys::kMetronomeForRecord, options.forRecord) && stored;
    stored = setFlag(settings_keys::kClickEighths, options.eighthsInCompound) && stored;
    return setNumber(settings_keys::kCountInBars, options.countInBars) && stored;
}

WindowPlacement Settings::readPlacement(std::string_view name, int fallbackTop, int fallbackLeft,
                                        int widthBase, int heightBase,
                                        std::optional<std::pair<int, int>> parentClientSize) const {
    const std::string prefix(name);
    const auto edge = [&](const char* suffix) { return number(placementKey(prefix + suffix)); };
    WindowPlacement place{edge(".top"), edge(".left"), edge(".right"), edge(".bottom")};
    if (place.top < 0 || place.top > kMaxPlacement) {
        place.top = fallbackTop;
    }
    if (place.left < 0 || place.left > kMaxPlacement) {
        place.left = fallbackLeft;
    }
    if (!sizeInRange(place.width, widthBase)) {
        place.width = widthBase - 200;
    }
    if (!sizeInRange(place.height, heightBase)) {
        place.height = heightBase - 100;
    }
    // Only the staff window lives inside a frame whose size bounds it.
    if (name == "Staff" && parentClientSize) {
        place.width = std::min(place.width, parentClientSize->first);
        place.height = std::min(place.height, parentClientSize->second);
    }
    return place;
}

bool Settings::placementSizeStored(std::string_view name, int widthBase, int heightBase) const {
    const std::string prefix(name);
    return sizeInRange(number(placementKey(prefix + ".right")), widthBase) &&
           sizeInRange(number(placementKey(prefix + ".bottom")), heightBase);
}

bool Settings::savePlacement(std::string_view name, int top, int left, int width, int height) {
    const std::string prefix(name);
    bool stored = setNumber(placementKey(prefix + ".top"), top);
    stored = setNumber(placementKey(prefix + ".left"), left) && stored;
    stored = setNumber(placementKey(prefix + ".right"), width) && stored;
    return setNumber(placementKey(prefix + ".bottom"), height) && stored;
}
