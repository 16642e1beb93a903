#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/audio_export_command.h"
#include "app/music_xml_export_command.h"
#include "app/transport.h"
#include "notation/staff_window_host.h"
#include "qt/qt_command_poster.h"
#include "shell/command_states.h"
#include "shell/document_windows.h"
#include "shell/edit_commands.h"
#include "shell/main_menu.h"
#include "shell/mode_toggles.h"
#include "shell/option_dialogs.h"
#include "shell/play_list_commands.h"
#include "shell/print_commands.h"
#include "shell/session_settings.h"
#include "shell/synth_commands.h"
#include "shell/undo_commands.h"
#include "shell/whole_song_commands.h"

class AboutBox;
class Application;
class ControlBar;
class HelpWindow;
class QMdiArea;
class StaffWindow;
class Toolbar;

// The program's one top-level window: menu bar, toolbar, the frame holding one staff window
// per open song, and the control bar. Every menu item, accelerator, toolbar button and posted
// command arrives at command(id), which hands it to the part that carries it out: the
// document windows, the edit commands, the mode toggles, the option dialogs or the transport.
class MainWindow : public QMainWindow, public StaffWindowHost {
    Q_OBJECT

public:
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

    void setDialogRunner(OptionDialogs::DialogRunner runner) {
        dialogs_.setRunner(std::move(runner));
    }
    PreviewWindow* previewWindow() const { return print_.previewWindow(); }

    StaffWindow* currentStaffWindow() const { return documents_.current(); }
    const std::vector<StaffWindow*>& staffWindows() const { return documents_.windows(); }
    ControlBar& controlBar() const { return *controlBar_; }
    Toolbar& toolbar() const { return *toolbar_; }
    MainMenu& menu() { return menu_; }
    QMdiArea& frame() const { return *frame_; }
    // Hands commands from the timer and MIDI input threads to command(), on this thread.
    CommandPoster& commandPoster() { return commandPoster_; }
    Transport& transport() { return transport_; }
    PlayListCommands& playList() { return playList_; }

    // Writes the settings kept at exit, then asks about every changed song in turn. False
    // when the user cancelled: the program goes on (the settings stay written).
    bool saveSettings();

    // Recording refuses editing by mouse as playing does: the take owns the track meanwhile.
    bool playActive() const override { return transport_.playActive() || transport_.recording(); }
    bool notesAppearWhilePlaying() const override { return transport_.notesAppear(); }
    Track& pasteBuffer() override { return edits_.pasteBuffer(); }
    EditSettings& editSettings() override { return edits_.settings(); }
    int currentNoteButton() const override { return modes_.currentNoteButton(); }
    void setStaffMaximized(bool maximized) override { settings_.setStaffMaximized(maximized); }
    void staffWindowClicked(StaffWindow& window) override { documents_.staffWindowClicked(window); }
    bool mayCloseStaffWindow(StaffWindow& window) override {
        stopRecording();
        return documents_.mayCloseStaffWindow(window);
    }
    void staffWindowClosed(StaffWindow& window) override { documents_.staffWindowClosed(window); }
    void historyChanged(StaffWindow& window) override { undo_.historyChanged(window); }
    int runDialog(QDialog& dialog) override { return dialogs_.run(dialog); }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Files dragged from a file manager: local files are taken and open as Open opens them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addFileCommands();
    void addEditCommands();
    void addModeCommands();
    void addOptionCommands();
    void addPlayCommands();
    void addPracticeCommands();
    void layoutChildren();
    // Brings the toolbar, the combo box, the menus and the bars in line with the current
    // window (or with none).
    void showCurrentSong();
    void fillTrackCombo(StaffWindow& window);
    // Selects the current track in the combo box and repaints the control bar.
    void refreshControls();
    // The combo box's tracks marked muted or soloed, and the Practice checks for the current
    // track.
    void showTrackMix();
    // The Practice checks of the metronome and the count-in, as the settings hold them.
    void showMetronome();
    // Puts the window at its start place on the primary screen.
    void placeOnScreen();
    static constexpr int kMeasuringWidth = 10000;
    // On a first start, once the first song window has put its buttons at the menu bar's end:
    // widens the window so that every menu still shows, within the screen's free area.
    void makeRoomForSongButtons();
    bool roomForSongButtonsMade_ = true;
    // New or Open gave a current song: its commands become usable.
    void showSongOpened();
    void selectTrack();
    void turnPage(bool forward);
    // Record, with New and the Configuration dialog for what it lacks.
    void record();
    // A song about to close, or the program: a take under way ends first.
    void stopRecording();
    void showHelp();
    // One box at a time: while it is open, About brings it to the front.
    void showAbout();

    Application& app_;
    SessionSettings settings_;
    QtCommandPoster commandPoster_{this};
    MainMenu menu_;
    QWidget* central_;
    Toolbar* toolbar_;
    QMdiArea* frame_;
    ControlBar* controlBar_;
    DocumentWindows documents_;
    OptionDialogs dialogs_;
    EditCommands edits_;
    UndoCommands undo_;
    WholeSongCommands wholeSong_;
    SynthCommands synth_;
    ModeToggles modes_;
    CommandStates states_;
    Transport transport_;
    PlayListCommands playList_;
    AudioExportCommand audioExport_;
    MusicXmlExportCommand musicXmlExport_;
    PrintCommands print_;
    std::unique_ptr<HelpWindow> help_;
    QPointer<AboutBox> about_;
    // What each command id does; an id not listed does nothing.
    std::unordered_map<int, std::function<void()>> commands_;
};
