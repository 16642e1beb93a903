#include "notation/print_tool.h"

#include <QPrinter>
#include <charconv>
#include <cstring>
#include <ostream>
#include <string_view>

#include "notation/drawing_tool_session.h"
#include "notation/print_job.h"
#include "staff/staff_view_state.h"

namespace {

constexpr const char* kUsage = "Usage: tolvar32 --print FILE.mid OUT.pdf [--pages FROM-TO]\n";
constexpr int kMaxPage = 1000;

bool parsePage(std::string_view text, int& page) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), page);
    return error == std::errc{} && end == text.data() + text.size() && page >= 1 &&
           page <= kMaxPage;
}

struct PrintRequest {
    const char* song = nullptr;
    const char* pdf = nullptr;
    PrintJob::Range range = PrintJob::Range::All;
    int from = 1;
    int to = kMaxPage;
};

bool parseRequest(std::span<char* const> arguments, PrintRequest& request) {
    if (arguments.size() != 4 && arguments.size() != 6) {
        return false;
    }
    request.song = arguments[2];
    request.pdf = arguments[3];
    if (arguments.size() == 4) {
        return true;
    }
    const std::string_view pages = arguments[5];
    const std::size_t dash = pages.find('-');
    request.range = PrintJob::Range::Pages;
    return std::strcmp(arguments[4], "--pages") == 0 && dash != std::string_view::npos &&
           parsePage(pages.substr(0, dash), request.from) &&
           parsePage(pages.substr(dash + 1), request.to) && request.from <= request.to;
}

}  // namespace

std::optional<int> runPrintTool(std::span<char* const> arguments, std::ostream& err) {
    if (arguments.size() < 2 || std::strcmp(arguments[1], "--print") != 0) {
        return std::nullopt;
    }
    PrintRequest request;
    if (!parseRequest(arguments, request)) {
        err << kUsage;
        return 2;
    }
    DrawingToolSession session(arguments[0], request.song, err);
    if (!session.loaded()) {
        return 1;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(request.pdf));
    const StaffViewState view;
    const MusicalSymbols symbols;
    PrintJob job(session.document().song, view, session.ui(), symbols, 1);
    const int printed = job.print(printer, request.range, request.from, request.to);
    return printed > 0 && job.fontAvailable() ? 0 : 1;
}
