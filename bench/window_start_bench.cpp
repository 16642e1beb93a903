// How soon the window shows a song: starts the program as main() does, opens the song named
// on the command line and quits once the song's page has been painted. Run it under
// /usr/bin/time for the whole process; without a song it shows the empty window, the floor
// that Qt's own start sets in the same run. Settings come from XDG_CONFIG_HOME as usual, so
// point it at an empty folder for a first start.
//
// Usage: window_start_bench [SONG]
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdlib>

#include "app/application.h"
#include "app/file_commands.h"
#include "notation/staff_surface.h"
#include "platform/mm_timer.h"
#include "platform/system_midi_ports.h"
#include "qt/qt_ui.h"
#include "shell/main_window.h"

namespace {

// Quits at the first paint of a staff surface (of any widget, without a song), once that
// paint is done.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(bool song) : song_(song) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            (!song_ || qobject_cast<StaffSurface*>(watched) != nullptr)) {
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }

private:
    bool song_;
};

}  // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QtUi ui;
    MmTimer clock;
    SystemMidiPorts ports("", "");
    Application app(Profile::defaultPath(), ui, clock, ports);
    MainWindow window(app);
    FirstPaint firstPaint(argc > 1);
    application.installEventFilter(&firstPaint);
    window.showAsConfigured();
    if (argc > 1) {
        window.openStartupSong(FileCommands::commandLinePath(argv[1]));
    }
    return QApplication::exec();
}
