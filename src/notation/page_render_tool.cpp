#include "notation/page_render_tool.h"

#include <QPainter>
#include <charconv>
#include <cstring>
#include <ostream>
#include <string_view>

#include "app/song_document.h"
#include "model/omb_data.h"
#include "notation/drawing_tool_session.h"
#include "notation/glyph_set.h"
#include "notation/staff_painter.h"
#include "notation/status_bar.h"
#include "staff/staff_geometry.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace {

constexpr const char* kUsage =
    "Usage: tolvar32 --render-page FILE.mid OUT.png [--piano] [--bar N] [--track N] "
    "[--size WxH]\n";

struct PageRequest {
    const char* song = nullptr;
    const char* image = nullptr;
    bool pianoRoll = false;
    int firstBar = 1;
    int track = 1;
    int width = 800;
    int height = 600;
};

bool parseNumber(std::string_view text, int& value, int lowest, int highest) {
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size() || parsed < lowest ||
        parsed > highest) {
        return false;
    }
    value = parsed;
    return true;
}

bool parseRequest(std::span<char* const> arguments, PageRequest& request) {
    if (arguments.size() < 4) {
        return false;
    }
    request.song = arguments[2];
    request.image = arguments[3];
    for (std::size_t i = 4; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (option == "--piano") {
            request.pianoRoll = true;
        } else if (option == "--bar" && hasValue) {
            if (!parseNumber(arguments[++i], request.firstBar, 1, 1 << 24))
                return false;
        } else if (option == "--track" && hasValue) {
            if (!parseNumber(arguments[++i], request.track, 1, OMBData::kTrackCount))
                return false;
        } else if (option == "--size" && hasValue) {
            const std::string_view size = arguments[++i];
            const std::size_t x = size.find('x');
            if (x == std::string_view::npos ||
                !parseNumber(size.substr(0, x), request.width, 100, 8000) ||
                !parseNumber(size.substr(x + 1), request.height, 100, 8000)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<int> runPageRenderTool(std::span<char* const> arguments, std::ostream& err) {
    if (arguments.size() < 2 || std::strcmp(arguments[1], "--render-page") != 0) {
        return std::nullopt;
    }
    PageRequest request;
    if (!parseRequest(arguments, request)) {
        err << kUsage;
        return 2;
    }
    DrawingToolSession session(arguments[0], request.song, err);
    if (!session.loaded()) {
        return 1;
    }
    SongDocument& document = session.document();
    StaffPage page(document.song, StaffPage::kDefaultBarsPerPage);
    page.setFirstBar(request.firstBar);
    StaffViewState view;
    view.currentTrack = request.track - 1;
    view.pianoRoll = request.pianoRoll;
    view.fitToHeight(request.height);
    page.fitVisibleBars(staff_geometry::barLinesEnd(request.width, view.pianoRoll));

    QImage image(request.width, request.height, QImage::Format_RGB32);
    const GlyphSet glyphs;
    {
        QPainter painter(&image);
        StaffPainter staff(painter, image.size(), glyphs, document.song, page, view);
        if (view.pianoRoll) {
            staff.paintPianoRoll(false);
        } else {
            staff.paintStaff(false);
        }
    }
    // A picture of the song as written: no practice speed.
    const int speedPercent = 100;
    StatusBar statusBar(nullptr, document, view, page, speedPercent);
    statusBar.resize(request.width - 1, StatusBar::kHeight);
    statusBar.refresh();
    statusBar.render(&image, QPoint(0, request.height - StatusBar::kHeight));

    if (!image.save(QString::fromLocal8Bit(request.image), "PNG")) {
        err << "Error: " << request.image << " could not be written\n";
        return 1;
    }
    return 0;
}
