#pragma once

#include <functional>

class Application;
class DocumentWindows;
class QDialog;
class QWidget;
class StaffWindow;
class UndoHistory;
struct SongValues;

// Runs the option dialogs on the current song (Go To Bar, Bar Width, Time Signature, Time
// Division, Default Velocity), the key signature window and the Configuration dialog, and
// every other modal dialog the main window shows. Window thread only.
class OptionDialogs {
public:
    // Runs a modal dialog and returns its result (QDialog::Accepted or Rejected). Tests
    // replace it to fill the dialog's controls and press OK.
    using DialogRunner = std::function<int(QDialog&)>;

    // applied runs after an option dialog was accepted, with the song redrawn.
    OptionDialogs(QWidget& parent, Application& app, const DocumentWindows& documents,
                  std::function<void()> applied);

    void setRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    int run(QDialog& dialog) { return runDialog_(dialog); }
    QWidget& parent() const { return parent_; }

    // The option dialog or key signature window of command id; nothing without a song, except
    // Default Velocity.
    void open(int id);
    // Configuration: true when it ended with OK.
    bool configuration();

private:
    void defaultVelocity();
    void openKeyWindow(StaffWindow& staff);
    // An accepted dialog that changes the song's values becomes a step of its history.
    static void recordValues(int id, const SongValues& before, UndoHistory& history);

    QWidget& parent_;
    Application& app_;
    const DocumentWindows& documents_;
    std::function<void()> applied_;
    DialogRunner runDialog_;
};
