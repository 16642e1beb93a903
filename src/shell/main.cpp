#include <QApplication>
#include <filesystem>
#include <iostream>

#include "app/application.h"
#include "app/command_line_tools.h"
#include "app/song_document.h"
#include "notation/page_render_tool.h"
#include "platform/capture_output.h"
#include "platform/mm_timer.h"
#include "platform/system_midi_ports.h"
#include "qt/qt_ui.h"
#include "shell/main_window.h"

namespace {

// The song named on the command line: one argument, made absolute against the directory the
// user started in. A name too long to keep is ignored and a new song started instead.
std::string startupSong(int argc, char* argv[]) {
    if (argc < 2 || std::string_view(argv[1]).size() >= SongDocument::kMaxFileName) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(argv[1], error);
    return error ? argv[1] : absolute.lexically_normal().string();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const auto status = runPageRenderTool({argv, static_cast<std::size_t>(argc)}, std::cerr)) {
        return *status;
    }
    if (const auto status =
            runCommandLineTool({argv, static_cast<std::size_t>(argc)}, std::cout, std::cerr)) {
        return *status;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvar32"));
    QtUi ui;
    MmTimer clock;
    SystemMidiPorts ports(CaptureOutput::fileFromEnvironment());
    Application app(Profile::defaultPath(), ui, clock, ports);
    MainWindow window(app);
    window.showAsConfigured();
    window.openStartupSong(startupSong(argc, argv));
    return QApplication::exec();
}
