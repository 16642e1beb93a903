#pragma once

#include <QTextBrowser>

// The help: the pages in the data directory's help folder, in a window of their own.
class HelpWindow : public QTextBrowser {
    Q_OBJECT

public:
    HelpWindow();

    // Shows the start page, raising the window when it is already open.
    void showStartPage();
};
