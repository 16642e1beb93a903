#include "qt/qt_command_poster.h"

#include <QCoreApplication>

const QEvent::Type PostedCommandEvent::kType =
    static_cast<QEvent::Type>(QEvent::registerEventType());

void QtCommandPoster::post(int commandId, int param) noexcept {
    try {
        // postEvent is thread-safe and takes ownership of the event.
        QCoreApplication::postEvent(receiver_, new PostedCommandEvent(commandId, param));
    } catch (...) {
        // Out of memory on a timer thread: the command is lost, as the interface allows.
    }
}
