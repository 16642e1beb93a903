#include "shell/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/application.h"
#include "app/command_ids.h"
#include "notation/about_box.h"
#include "notation/loop_dialog.h"
#include "notation/speed_dialog.h"
#include "notation/staff_window.h"
#include "notation/status_bar.h"
#include "platform/data_directory.h"
#include "platform/wait_cursor.h"
#include "playback/command_ids.h"
#include "qt/bitmap_resource.h"
#include "qt/qt_ui.h"
#include "shell/control_bar.h"
#include "shell/help_window.h"
#include "shell/toolbar.h"

MainWindow::MainWindow(Application& app)
    : app_(app),
      settings_(app),
      menu_(*menuBar(), [this](int id) { command(id); }),
      central_(new QWidget(this)),
      toolbar_(new Toolbar(central_, [this](int id) { command(id); })),
      frame_(new QMdiArea(central_)),
      controlBar_(new ControlBar(central_, app.clock, app.timing, app.soundFontControl)),
      documents_(
          app, *this, *frame_, menu_, [this] { return playActive(); },
          [this] { showCurrentSong(); }),
      dialogs_(*this, app, documents_, [this] { refreshControls(); }),
      edits_(app, menu_, documents_, dialogs_),
      undo_(*this, menu_, documents_,
            [this] { return documents_.fileCommands().refusedInPlayMode(); }),
      wholeSong_(app, documents_, dialogs_),
      synth_(app, documents_, dialogs_, [this] { showCurrentSong(); }),
      modes_(app, menu_, *toolbar_, documents_),
      states_(*this, menu_, *toolbar_, edits_.pasteBuffer(), app.soundFontControl,
              [this] { return documents_.current() != nullptr; }),
      transport_(app, states_, commandPoster_),
      playList_(app, *this, documents_, transport_, [this] { showSongOpened(); }),
      audioExport_(app.ui, app.soundFontState),
      musicXmlExport_(app.ui),
      print_(app, documents_, dialogs_, [this] { refreshControls(); }) {
    setWindowTitle(QString::fromLatin1(Application::kTitle));
    setWindowIcon(bitmapResource("TOLVAR32"));
    setObjectName("mainWindow");
    placeOnScreen();
    setCentralWidget(central_);
    central_->installEventFilter(this);
    setAcceptDrops(true);
    frame_->setObjectName("frame");
    frame_->setBackground(QColor(128, 128, 128));
    connect(toolbar_, &Toolbar::buttonPressed, this,
            [this](int id) { transport_.buttonPressed(id); });
    if (auto* qtUi = dynamic_cast<QtUi*>(&app.ui)) {
        qtUi->setMessageLine([this](const std::string& text) {
            controlBar_->showMessage(QString::fromStdString(text));
        });
    }
    addFileCommands();
    addEditCommands();
    addModeCommands();
    addOptionCommands();
    addPlayCommands();
    addPracticeCommands();

    states_.showInitial();
    states_.enableDocumentItems(false);
    transport_.showStopped(true);
    menu_.rebuildWindows({}, -1);
    refreshControls();
}

MainWindow::~MainWindow() {
    if (auto* qtUi = dynamic_cast<QtUi*>(&app_.ui)) {
        qtUi->setMessageLine({});
    }
    // The staff windows report state changes to this window as they go, so they must go
    // while it is whole rather than when QWidget's destructor deletes the children.
    frame_->disconnect();
    delete frame_;
}

void MainWindow::addFileCommands() {
    commands_[command::kNew] = [this] {
        if (documents_.newSong()) {
            showSongOpened();
        }
    };
    commands_[command::kOpen] = [this] {
        if (documents_.openSong()) {
            showSongOpened();
        }
    };
    commands_[command::kSave] = [this] { documents_.saveSong(false); };
    commands_[command::kSaveAs] = [this] { documents_.saveSong(true); };
    commands_[command::kAbout] = [this] { showAbout(); };
    commands_[command::kExit] = [this] { close(); };
    for (int id = command::kWindowFirst; id <= command::kWindowLast; ++id) {
        commands_[id] = [this, id] { documents_.activateListed(id - command::kWindowFirst); };
    }
    commands_[command::kPlayList] = [this] { playList_.open(); };
    commands_[command::kExportAudio] = [this] {
        if (currentStaffWindow() != nullptr && !transport_.playActive()) {
            audioExport_.setLevel(app_.settings.exportLevel());
            audioExport_.run(currentStaffWindow()->document(), app_.settings.lastDir(),
                             app_.trackMix);
        }
    };
    commands_[command::kExportMusicXml] = [this] {
        if (currentStaffWindow() != nullptr && !transport_.playActive()) {
            musicXmlExport_.run(currentStaffWindow()->document(), app_.settings.lastDir());
        }
    };
    commands_[command::kPrint] = [this] { print_.print(); };
    commands_[command::kPrintPreview] = [this] { print_.preview(); };
}

void MainWindow::addEditCommands() {
    commands_[command::kUndo] = [this] { undo_.undo(); };
    commands_[command::kRedo] = [this] { undo_.redo(); };
    commands_[command::kSetCutCopy] = [this] { edits_.startSelection(false); };
    commands_[command::kSelectEntireTrack] = [this] { edits_.startSelection(true); };
    commands_[command::kCut] = [this] { edits_.cutOrCopy(true); };
    commands_[command::kCopy] = [this] { edits_.cutOrCopy(false); };
    commands_[command::kPaste] = [this] { edits_.pasteOrSetFirstNote(true); };
    commands_[command::kSetFirstNote] = [this] { edits_.pasteOrSetFirstNote(false); };
    commands_[command::kDeleteCurrentTrack] = [this] { edits_.deleteCurrentTrack(); };
    commands_[command::kDotted] = [this] { edits_.toggleDotted(); };
    commands_[command::kSequentialInput] = [this] {
        edits_.setInputMode(EditSettings::InputMode::Sequential);
    };
    commands_[command::kFreeFormInput] = [this] {
        edits_.setInputMode(EditSettings::InputMode::FreeForm);
    };
    commands_[command::kAlignToBeat] = [this] {
        edits_.setInputMode(EditSettings::InputMode::AlignToBeat);
    };
}

void MainWindow::addModeCommands() {
    commands_[command::kStaffOrPiano] = [this] { modes_.toggleStaffOrPiano(); };
    commands_[command::kDisplaySolo] = [this] { modes_.toggleDisplaySolo(); };
    commands_[command::kPlaySolo] = [this] { modes_.togglePlaySolo(); };
    commands_[command::kAnimateButton] = [this] { modes_.toggleAnimate(); };
    commands_[command::kAnimate] = [this] { modes_.toggleAnimate(); };
    commands_[command::kMinimizeButton] = [this] { modes_.toggleMinimizeOnPlay(); };
    commands_[command::kMinimizeOnPlay] = [this] { modes_.toggleMinimizeOnPlay(); };
    commands_[command::kRecord] = [this] { record(); };
    // 706..711 run the mode buttons' commands without a button.
    for (int id = command::kModeAliasFirst; id <= command::kModeAliasLast; ++id) {
        commands_[id] = commands_[id - command::kModeAliasFirst + command::kStaffOrPiano];
    }
    // Notes, rests and symbols from the menus; note values from the buttons.
    for (int id = command::kNoteValueBase; id <= command::kNatural; ++id) {
        commands_[id] = [this, id] { modes_.selectNoteValue(id - command::kNoteValueBase); };
    }
    for (int id = command::kNoteButtonFirst; id <= command::kNoteButtonLast; ++id) {
        commands_[id] = [this, id] { modes_.selectNoteValue(id - command::kNoteButtonFirst); };
    }
}

void MainWindow::addOptionCommands() {
    for (const int id :
         {command::kGoToBar, command::kBarWidth, command::kTimeSignature, command::kTimeDivision,
          command::kKeySignature, command::kDefaultVelocity}) {
        commands_[id] = [this, id] { dialogs_.open(id); };
    }
    commands_[command::kConfiguration] = [this] { dialogs_.configuration(); };
    commands_[command::kTrackDetail] = [this] {
        if (StaffWindow* current = documents_.current()) {
            current->openTrackDetail();
        }
    };
    commands_[command::kEventList] = [this] {
        if (StaffWindow* current = documents_.current()) {
            current->editor().openEventList(playActive());
        }
    };
    commands_[command::kNoteDetail] = [this] {
        if (StaffWindow* current = documents_.current()) {
            current->editor().openNoteDetail(playActive());
        }
    };
    commands_[command::kTranspose] = [this] { wholeSong_.shiftNotes(command::kTranspose); };
    commands_[command::kVolume] = [this] { wholeSong_.shiftNotes(command::kVolume); };
    commands_[command::kSongSummary] = [this] { wholeSong_.songSummary(); };
    commands_[command::kVoices] = [this] { synth_.voices(); };
    commands_[command::kAweControl] = [this] { synth_.aweControl(); };
    commands_[command::kTrackCombo] = [this] { selectTrack(); };
    commands_[command::kHelp] = [this] { showHelp(); };
}

void MainWindow::addPlayCommands() {
    commands_[command::kPrevPage] = [this] { turnPage(false); };
    commands_[command::kNextPage] = [this] { turnPage(true); };
    commands_[command::kPlay] = [this] { transport_.play(documents_.current()); };
    commands_[command::kPlayAll] = [this] { transport_.playAll(documents_.current()); };
    commands_[command::kPause] = [this] { transport_.pause(); };
    // Stop acts when pressed (Transport::buttonPressed), not when clicked.
    commands_[ID_MIDI_INPUT] = [this] { transport_.midiInput(); };
}

void MainWindow::addPracticeCommands() {
    const auto onCurrentTrack = [this](void (Transport::*toggle)(int)) {
        return [this, toggle] {
            if (StaffWindow* current = documents_.current()) {
                (transport_.*toggle)(current->view().currentTrack);
            }
            showTrackMix();
        };
    };
    commands_[command::kMuteTrack] = onCurrentTrack(&Transport::toggleMute);
    commands_[command::kSoloTrack] = onCurrentTrack(&Transport::toggleSolo);
    commands_[command::kClearMuteAndSolo] = [this] {
        transport_.clearMix();
        showTrackMix();
    };
    const auto setSpeed = [this](int percent) {
        transport_.setSpeed(percent);
        for (StaffWindow* window : documents_.windows()) {
            window->RefreshStatusBar();
        }
    };
    commands_[command::kSpeed] = [this, setSpeed] {
        int percent = app_.speedPercent;
        SpeedDialog dialog(this, percent);
        if (dialogs_.run(dialog) == QDialog::Accepted) {
            setSpeed(percent);
        }
    };
    commands_[command::kNormalSpeed] = [setSpeed] { setSpeed(100); };
    commands_[command::kLoop] = [this] {
        PlayLoop loop = app_.playLoop;
        loop.on = !loop.on;
        transport_.setLoop(loop);
        menu_.setChecked(command::kLoop, loop.on);
    };
    commands_[command::kLoopBars] = [this] {
        PlayLoop loop = app_.playLoop;
        // The bars the band selected last are what a user most likely means to repeat.
        if (StaffWindow* current = documents_.current()) {
            if (const auto ticks = current->editor().selectedTicks()) {
                loop.firstBar = current->page().barOf(ticks->first);
                loop.lastBar = current->page().barOf(ticks->second);
            }
        }
        LoopDialog dialog(this, loop);
        if (dialogs_.run(dialog) == QDialog::Accepted) {
            transport_.setLoop(loop);
            menu_.setChecked(command::kLoop, true);
        }
    };
    menu_.setChecked(command::kLoop, app_.playLoop.on);
    const auto thenShow = [this](std::function<void()> change) {
        return [this, change = std::move(change)] {
            change();
            showMetronome();
        };
    };
    commands_[command::kMetronomeForPlay] =
        thenShow([this] { transport_.toggleMetronomeForPlay(); });
    commands_[command::kMetronomeForRecord] =
        thenShow([this] { transport_.toggleMetronomeForRecord(); });
    commands_[command::kClickEighths] = thenShow([this] { transport_.toggleClickEighths(); });
    for (const int id : {command::kNoCountIn, command::kCountInOneBar, command::kCountInTwoBars}) {
        commands_[id] =
            thenShow([this, bars = id - command::kNoCountIn] { transport_.setCountInBars(bars); });
    }
    showMetronome();
}

void MainWindow::showMetronome() {
    const MetronomeOptions options = app_.settings.metronome();
    menu_.setChecked(command::kMetronomeForPlay, options.forPlay);
    menu_.setChecked(command::kMetronomeForRecord, options.forRecord);
    menu_.setChecked(command::kClickEighths, options.eighthsInCompound);
    for (const int id : {command::kNoCountIn, command::kCountInOneBar, command::kCountInTwoBars}) {
        menu_.setChecked(id, id - command::kNoCountIn == options.countInBars);
    }
}

void MainWindow::record() {
    transport_.RecordStart(
        documents_.current(),
        [this]() -> RecordTarget* {
            if (!documents_.newSong()) {
                return nullptr;
            }
            showSongOpened();
            return documents_.current();
        },
        [this] { return dialogs_.configuration(); });
}

void MainWindow::stopRecording() {
    if (transport_.recording()) {
        transport_.StopAll();
    }
}

void MainWindow::command(int id) {
    if (const auto found = commands_.find(id); found != commands_.end()) {
        found->second();
    }
}

void MainWindow::postedCommand(int id, int param) {
    if (id != ID_PLAY_STEP) {
        command(id);
        return;
    }
    transport_.playStep(param);
}

void MainWindow::showAsConfigured() {
    if (settings_.maximizeControl()) {
        showMaximized();
    } else {
        showNormal();
    }
}

void MainWindow::openStartupSong(const std::string& fileName) {
    // With no song (the file was not found) there is nothing to play or save.
    if (documents_.openStartupSong(fileName)) {
        states_.enableDocumentItems(true);
    } else {
        documents_.activate(-1);
    }
}

void MainWindow::placeOnScreen() {
    // The menu bar's hint counts only the items that fit the window as it is.
    resize(kMeasuringWidth, height());
    const QSize wanted(
        std::max(menuBar()->sizeHint().width(), toolbar_->childrenRect().right() + 1), 0);
    const WindowPlacement place =
        settings_.startPlace(wanted, QGuiApplication::primaryScreen()->availableGeometry());
    move(place.left, place.top);
    resize(place.width, place.height);
    roomForSongButtonsMade_ = settings_.placeStored();
}

// A maximized song window puts its minimize, restore and close buttons in the menu bar's
// corner, which the first start's width could not count: without this the last menus would
// hide behind the bar's extension button.
void MainWindow::makeRoomForSongButtons() {
    roomForSongButtonsMade_ = settings_.placeStored();
    const int right = screen()->availableGeometry().right() + 1;
    const int wanted = std::min(menuBar()->sizeHint().width(), right - x());
    if (wanted > width()) {
        resize(wanted, height());
    }
}

void MainWindow::showSongOpened() {
    transport_.showStopped(true);
    states_.enableDocumentItems(true);
}

void MainWindow::layoutChildren() {
    const QSize client = central_->size();
    toolbar_->setGeometry(0, 0, client.width(), Toolbar::kHeight);
    frame_->setGeometry(0, Toolbar::kHeight, client.width(),
                        client.height() - Toolbar::kHeight - ControlBar::kHeight - 2);
    controlBar_->setGeometry(0, client.height() - ControlBar::kHeight, client.width(),
                             ControlBar::kHeight);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == central_ && event->type() == QEvent::Resize) {
        layoutChildren();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == PostedCommandEvent::kType) {
        const auto* posted = static_cast<PostedCommandEvent*>(event);
        postedCommand(posted->commandId, posted->param);
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        if (isMaximized()) {
            settings_.setControlMaximized(true);
        } else if (windowState() == Qt::WindowNoState) {
            settings_.setControlMaximized(false);
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The take becomes part of the song before the songs are asked about.
    stopRecording();
    if (!saveSettings()) {
        event->ignore();
        return;
    }
    settings_.savePlace(y(), x(), width(), height());
    if (app_.soundFont) {
        app_.soundFont->shutdown();
    }
    // Every song has been asked about already.
    documents_.closeAll();
    if (help_) {
        help_->close();
    }
    event->accept();
}

namespace {

// The local files among dropped URLs, in their order, as the file system names them.
std::vector<std::string> localFiles(const QMimeData& data) {
    std::vector<std::string> files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return files;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(*event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = localFiles(*event->mimeData());
    if (files.empty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over: a message box inside the drop would hold up the program
    // the files were dragged from until it is answered.
    QMetaObject::invokeMethod(
        this,
        [this, files] {
            if (documents_.openDroppedSongs(files)) {
                showSongOpened();
            }
        },
        Qt::QueuedConnection);
}

bool MainWindow::saveSettings() {
    settings_.write(documents_.current(), menu_.isChecked(command::kAnimate),
                    menu_.isChecked(command::kMinimizeOnPlay));
    return documents_.querySaveAll() && playList_.querySave();
}

void MainWindow::showCurrentSong() {
    toolbar_->trackCombo()->clear();
    controlBar_->update();
    StaffWindow* current = documents_.current();
    modes_.showWindow(current);
    undo_.refresh();
    if (current == nullptr) {
        transport_.showStopped(false);
        states_.enableDocumentItems(false);
        return;
    }
    fillTrackCombo(*current);
    current->statusBar().fit();
    if (!roomForSongButtonsMade_) {
        // The buttons arrive once the maximized window has been laid out.
        QTimer::singleShot(0, this, [this] { makeRoomForSongButtons(); });
    }
}

void MainWindow::fillTrackCombo(StaffWindow& window) {
    QComboBox* combo = toolbar_->trackCombo();
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        combo->addItem(QString());
    }
    combo->setCurrentIndex(window.view().currentTrack);
    showTrackMix();
}

void MainWindow::refreshControls() {
    if (StaffWindow* current = documents_.current()) {
        toolbar_->trackCombo()->setCurrentIndex(current->view().currentTrack);
    }
    showTrackMix();
    controlBar_->repaint();
}

void MainWindow::showTrackMix() {
    const TrackMix& mix = app_.trackMix;
    StaffWindow* current = documents_.current();
    QComboBox* combo = toolbar_->trackCombo();
    for (int track = 0; current != nullptr && track < combo->count(); ++track) {
        const OMBData& song = current->document().song;
        // The mark goes next to the number: the box is too narrow to show a name's end.
        const QString mark = mix.soloed(track)  ? QStringLiteral(" (solo)")
                             : mix.muted(track) ? QStringLiteral(" (muted)")
                                                : QString();
        const QString text =
            QStringLiteral("%1%2 - %3")
                .arg(track + 1)
                .arg(mark, QString::fromStdString(app_.voices.name(song.program[track])));
        combo->setItemText(track, text);
    }
    const int track = current != nullptr ? current->view().currentTrack : -1;
    menu_.setChecked(command::kMuteTrack, track >= 0 && mix.muted(track));
    menu_.setChecked(command::kSoloTrack, track >= 0 && mix.soloed(track));
}

void MainWindow::selectTrack() {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    current->view().currentTrack = toolbar_->trackCombo()->currentIndex();
    refreshControls();
    current->Redraw();
    current->RefreshStatusBar();
}

void MainWindow::turnPage(bool forward) {
    StaffWindow* current = documents_.current();
    if (current == nullptr) {
        return;
    }
    const WaitCursor waitCursor(app_.ui);
    if (forward) {
        current->nextPage();
    } else {
        current->previousPage();
    }
    refreshControls();
}

void MainWindow::showHelp() {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>();
    }
    help_->showStartPage();
}

void MainWindow::showAbout() {
    if (!about_) {
        about_ = new AboutBox(this, dataDirectory() / "about.bmp");
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}
