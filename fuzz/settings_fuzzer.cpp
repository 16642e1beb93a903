#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "platform/null_ui.h"
#include "platform/profile.h"
#include "scratch_file.h"

// One input is one tolvar32.ini, its first line (up to a line feed) taken as the value to
// store. Start-up reads every setting from the file, with no box to stop or steer it; then the
// value is stored as the program stores a path, and must read back whole while a setting stored
// before it keeps its own value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    const std::string_view value = input.substr(0, lineEnd);
    const std::string_view content =
        lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
    const auto file = ScratchFile::write(
        "tolvar32.ini",
        std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    Profile profile(file);
    NullUi ui;
    Settings settings(profile, ui);
    settings.division();
    settings.tempo();
    settings.velocity();
    settings.barsPerPage();
    settings.staffNotation();
    settings.animate();
    settings.playListPause();
    settings.board();
    settings.inBoard();
    settings.readPlacement("Control", 0, 0, 1024, 768, std::nullopt);
    settings.readPlacement("Staff", 10, 10, 1024, 768, std::pair(800, 600));
    // Whatever the file says, the practice speed and loop come out as the player takes them.
    const int speed = settings.speedPercent();
    const PlayLoop loop = settings.playLoop();
    if (speed < 25 || speed > 200 || loop.firstBar < 1 || loop.lastBar < loop.firstBar) {
        std::abort();
    }

    const std::string synFile = settings.text(settings_keys::kSynFile);
    if (settings.setText(settings_keys::kLastDir, value)) {
        if (settings.text(settings_keys::kLastDir) != value ||
            settings.text(settings_keys::kSynFile) != synFile) {
            std::abort();
        }
    }
    return 0;
}
