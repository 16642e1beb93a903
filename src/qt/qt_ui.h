#pragma once

#include <QCursor>
#include <array>
#include <functional>

#include "platform/ui.h"

// The Ui of the window program: real message boxes and file dialogs, owned by the active
// window, and the cursors as the application's override cursor. Window thread only; the
// QApplication must exist before a QtUi is made and outlive it.
class QtUi : public Ui {
public:
    QtUi();
    // Takes back an override cursor still showing.
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    // Arrow takes the override away, so each widget shows its own cursor again. The others
    // replace the one override this Ui keeps, however many are set in a row.
    void setCursor(CursorShape shape) override;
    // Notices go to the message line the main window hands over here; none are shown before.
    void notice(const std::string& text) override;
    void setMessageLine(std::function<void(const std::string&)> messageLine) {
        messageLine_ = std::move(messageLine);
    }
    std::optional<std::string> chooseFile(FileDialogKind kind, const std::string& filterDescription,
                                          const std::string& title,
                                          const std::string& initialName) override;
    // A QProgressDialog, owned by the active window and modal to the whole program.
    std::unique_ptr<Progress> openProgress(const std::string& text,
                                           const std::string& title) override;

protected:
    int showMessage(const std::string& text, const std::string& caption, unsigned type) override;

private:
    void overrideCursor(const QCursor& cursor);

    std::array<QCursor, 3> busyCursors_;
    bool cursorOverridden_ = false;
    std::function<void(const std::string&)> messageLine_;
};
