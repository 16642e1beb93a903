#pragma once

#include <QEvent>

#include "platform/command_poster.h"

// A command posted from another thread, delivered to the receiver on the window thread in
// the order posted.
class PostedCommandEvent : public QEvent {
public:
    static const QEvent::Type kType;

    PostedCommandEvent(int commandId, int param)
        : QEvent(kType), commandId(commandId), param(param) {}

    const int commandId;
    const int param;
};

// Posts commands as PostedCommandEvents to one receiver (the main window).
class QtCommandPoster : public CommandPoster {
public:
    explicit QtCommandPoster(QObject* receiver) : receiver_(receiver) {}

    void post(int commandId, int param) noexcept override;

private:
    QObject* receiver_;
};
