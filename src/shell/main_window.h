#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_commands.h"
#include "model/track.h"
#include "notation/staff_window_host.h"
#include "qt/qt_command_poster.h"
#include "shell/transport.h"
#include "staff/edit_settings.h"
#include "staff/staff_view_state.h"

class Application;
class ControlBar;
class HelpWindow;
class MainMenu;
class QDialog;
class QMdiArea;
class StaffWindow;
class Toolbar;

// The program's one top-level window: menu bar, toolbar, the frame holding one staff window
// per open song, and the control bar. Every menu item, accelerator, toolbar button and posted
// command arrives at command(id), which acts on the current staff window. The window owns the
// program's visible states (stopped, playing, paused, recording) and which controls each one
// enables.
class MainWindow : public QMainWindow, public StaffWindowHost {
    Q_OBJECT

public:
    // The "Windows" menu has ids for eleven songs.
    static constexpr int kMaxStaffWindows = 11;
    static constexpr const char* kPlacementName = "Control";

    // Reads the start-up settings and builds the window with no song open; it is not shown.
    explicit MainWindow(Application& app);
    ~MainWindow() override;

    // Shows the window maximised or at its stored place, as the settings say.
    void showAsConfigured();
    // The song named on the command line, or a new one when the name is empty. A file that
    // cannot be found opens no window.
    void openStartupSong(const std::string& fileName);

    void command(int id);
    // A command posted from another thread: the play step carries its timer's id.
    void postedCommand(int id, int param);

    // Runs a modal dialog and returns its result (QDialog::Accepted or Rejected). Tests
    // replace it to fill the dialog's controls and press OK.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    StaffWindow* currentStaffWindow() const { return current_; }
    const std::vector<StaffWindow*>& staffWindows() const { return windows_; }
    ControlBar& controlBar() const { return *controlBar_; }
    Toolbar& toolbar() const { return *toolbar_; }
    MainMenu& menu() const { return *menu_; }
    QMdiArea& frame() const { return *frame_; }
    Track& pasteBuffer() override { return pasteBuffer_; }
    EditSettings& editSettings() override { return editSettings_; }
    // Hands commands from the timer and MIDI input threads to command(), on this thread.
    CommandPoster& commandPoster() { return commandPoster_; }
    bool animate() const { return animate_; }

    // Play mode: set while a song plays or is paused. It refuses file and editing commands
    // and turns the accelerators off.
    bool playActive() const override { return transport_.playActive(); }
    bool notesAppearWhilePlaying() const override { return transport_.notesAppear(); }
    void setPlayActive(bool active) { transport_.setPlayActive(active); }
    Transport& transport() { return transport_; }

    // Prev, Next and Play enabled, Pause disabled.
    void setStoppedButtons();
    // Prev, Next and Play disabled; Pause enabled while playing or running the play list.
    void setPlayingButtons();
    // The commands that need an open song (Paste only with something to paste).
    void enableDocumentItems(bool enabled);
    // Greys or enables the eleven top-level menus (the SoundFont item stays grey without
    // its control).
    void setTopMenusEnabled(bool enabled);
    // Makes the window at index of the list current and brings it up (-1 keeps the current
    // one), then brings the toolbar, the combo box, the menus and the bars in line with it.
    void activateStaffWindow(int index);
    // Selects the current track in the combo box and repaints the control bar.
    void refreshControls();
    // The last pressed note-value button, 3 (eighth) when none is.
    int currentNoteButton() const override;

    // Writes the settings kept at exit, then asks about every changed song in turn. False
    // when the user cancelled: the program goes on (the settings stay written).
    bool saveSettings();
    // Asks about every changed song in list order; false at the first Cancel.
    bool querySaveAll();

    void setStaffMaximized(bool maximized) override { maximizeStaff_ = maximized; }
    void staffWindowClicked(StaffWindow& window) override;
    bool mayCloseStaffWindow(StaffWindow& window) override;
    void staffWindowClosed(StaffWindow& window) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class SongSource { New, AskForFile, File };

    void readStartupSettings();
    void layoutChildren();
    // A new staff window on a new song, a chosen file or the named one; nullptr when refused,
    // cancelled or the file was not found.
    StaffWindow* createStaffWindow(SongSource source, const std::string& fileName = {});
    void newSong();
    void openSong();
    void saveSong(bool askForName);
    void toggleStaffOrPiano();
    // Display Solo and Play Solo: the current window's flag, or the button alone without one.
    void toggleSolo(int buttonId, bool StaffViewState::*flag, const char* onMessage,
                    const char* offMessage);
    void toggleAnimate();
    void toggleMinimizeOnPlay();
    void selectNoteValue(int value);
    void setInputMode(EditSettings::InputMode mode);
    void startSelection(bool entireTrack);
    void cutOrCopy(bool cut);
    // The option dialogs and the key signature window, on the current song.
    void optionDialog(int id);
    void pasteOrSetFirstNote(bool paste);

    void deleteCurrentTrack();
    void selectTrack();
    void turnPage(bool forward);
    void showHelp();
    void rebuildWindowsMenu();
    int indexOf(const StaffWindow* window) const;
    void setModeState(int id, int state);
    // On the control bar's message line, through the Ui.
    void showMessage(const std::string& text);

    Application& app_;
    FileCommands fileCommands_;
    QtCommandPoster commandPoster_{this};
    Transport transport_;
    std::unique_ptr<MainMenu> menu_;
    Toolbar* toolbar_;
    QMdiArea* frame_;
    ControlBar* controlBar_;
    std::unique_ptr<HelpWindow> help_;
    DialogRunner runDialog_;

    std::vector<StaffWindow*> windows_;
    StaffWindow* current_ = nullptr;
    Track pasteBuffer_{-1};

    EditSettings editSettings_;
    // The play list is running (set by the play list when it exists).
    bool playListActive_ = false;
    bool animate_ = true;
    bool useAwe_ = false;
    bool maximizeControl_ = false;
    bool maximizeStaff_ = true;
    bool closing_ = false;
    // Set while this window itself changes the frame's active window, so the frame's
    // notice of it is not taken for a click.
    bool activating_ = false;
};
