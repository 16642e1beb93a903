#pragma once

#include <QApplication>
#include <ostream>

#include "app/song_document.h"
#include "model/song_timing.h"
#include "platform/console_ui.h"

// What a command-line tool that draws a song needs: a Qt application, on the off-screen
// platform when there is no screen, and the song, loaded with its messages on err.
class DrawingToolSession {
public:
    DrawingToolSession(char* programName, const char* song, std::ostream& err);

    bool loaded() const { return loaded_; }
    SongDocument& document() { return document_; }
    Ui& ui() { return ui_; }

private:
    // Chooses the platform, which must be done before the application starts; returns the
    // application's argument count.
    static int argumentCountWithPlatformChosen();

    int argc_;
    char* argv_[1];
    QApplication application_;
    ConsoleUi ui_;
    SongTiming timing_;
    SongDocument document_;
    bool loaded_;
};
