#include <QApplication>
#include <filesystem>
#include <iostream>

#include "app/application.h"
#include "app/command_line_tools.h"
#include "app/file_commands.h"
#include "notation/page_render_tool.h"
#include "notation/print_tool.h"
#include "platform/capture_output.h"
#include "platform/mm_timer.h"
#include "platform/replay_input.h"
#include "platform/system_midi_ports.h"
#include "qt/qt_ui.h"
#include "shell/main_window.h"

int main(int argc, char* argv[]) {
    if (const auto status = runPageRenderTool({argv, static_cast<std::size_t>(argc)}, std::cerr)) {
        return *status;
    }
    if (const auto status = runPrintTool({argv, static_cast<std::size_t>(argc)}, std::cerr)) {
        return *status;
    }
    if (const auto status =
            runCommandLineTool({argv, static_cast<std::size_t>(argc)}, std::cout, std::cerr)) {
        return *status;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvar32"));
    // Wayland compositors and docks find the window's icon and name through the desktop entry.
    QApplication::setDesktopFileName(QStringLiteral("tolvar32"));
    QtUi ui;
    MmTimer clock;
    SystemMidiPorts ports(CaptureOutput::fileFromEnvironment(), ReplayInput::fileFromEnvironment());
    Application app(Profile::defaultPath(), ui, clock, ports);
    MainWindow window(app);
    window.showAsConfigured();
    window.openStartupSong(FileCommands::commandLinePath(argc < 2 ? "" : argv[1]));
    return QApplication::exec();
}
