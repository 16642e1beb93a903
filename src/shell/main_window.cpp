#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QMdiArea>
#include <QMenuBar>
#include <algorithm>
#include <filesystem>

#include "app/application.h"
#include "notation/bar_width_dialog.h"
#include "notation/beat_dialog.h"
#include "notation/configuration_dialog.h"
#include "notation/default_velocity_dialog.h"
#include "notation/go_to_bar_dialog.h"
#include "notation/key_window.h"
#include "notation/staff_window.h"
#include "notation/status_bar.h"
#include "notation/time_division_dialog.h"
#include "notation/time_signature_dialog.h"
#include "platform/wait_cursor.h"
#include "playback/command_ids.h"
#include "qt/bitmap_resource.h"
#include "qt/qt_ui.h"
#include "shell/command_ids.h"
#include "shell/control_bar.h"
#include "shell/help_window.h"
#include "shell/main_menu.h"
#include "shell/tool_button.h"
#include "shell/toolbar.h"

namespace {

// The stored place of the main window falls back to these.
constexpr int kFallbackTop = 0;
constexpr int kFallbackLeft = 0;
constexpr int kWidthBase = 639;
constexpr int kHeightBase = 479;

constexpr int kDocumentItems[] = {command::kSave,
                                  command::kSaveAs,
                                  command::kPrint,
                                  command::kPrintPreview,
                                  command::kSetCutCopy,
                                  command::kSelectEntireTrack,
                                  command::kDeleteCurrentTrack,
                                  command::kSongSummary,
                                  command::kTrackDetail,
                                  command::kGoToBar,
                                  command::kTranspose,
                                  command::kVolume,
                                  command::kBarWidth,
                                  command::kTimeDivision,
                                  command::kTimeSignature,
                                  command::kKeySignature,
                                  command::kVoices,
                                  command::kSetFirstNote};

// Commands whose dialogs and engines are not part of this build yet: their items stay grey.
bool isAvailable(int id) {
    static constexpr int kNotYetBuilt[] = {
        command::kRecord,      command::kAbout,     command::kPrint,      command::kPrintPreview,
        command::kPlayList,    command::kVoices,    command::kAweControl, command::kSongSummary,
        command::kTrackDetail, command::kTranspose, command::kVolume};
    return std::find(std::begin(kNotYetBuilt), std::end(kNotYetBuilt), id) ==
           std::end(kNotYetBuilt);
}

constexpr int kTransportButtons[] = {command::kPrevPage, command::kNextPage, command::kPause,
                                     command::kPlay,     command::kPlayAll,  command::kStop};

}  // namespace

MainWindow::MainWindow(Application& app)
    : app_(app),
      fileCommands_(app.ui, app.settings, app.voices, [this] { return playActive(); }),
      transport_(app, *this, commandPoster_),
      runDialog_([](QDialog& dialog) { return dialog.exec(); }) {
    setWindowTitle(QString::fromLatin1(Application::kTitle));
    setWindowIcon(bitmapResource("TOLVAR32"));
    setObjectName("mainWindow");
    readStartupSettings();

    const auto dispatch = [this](int id) { command(id); };
    menu_ = std::make_unique<MainMenu>(*menuBar(), dispatch);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    toolbar_ = new Toolbar(central, dispatch);
    connect(toolbar_, &Toolbar::buttonPressed, this,
            [this](int id) { transport_.buttonPressed(id); });
    frame_ = new QMdiArea(central);
    frame_->setObjectName("frame");
    frame_->setBackground(QColor(128, 128, 128));
    controlBar_ = new ControlBar(central, app.clock, app.timing, app.soundFontControl);
    central->installEventFilter(this);
    connect(frame_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* staff = qobject_cast<StaffWindow*>(window); staff && !activating_) {
            staffWindowClicked(*staff);
        }
    });
    if (auto* qtUi = dynamic_cast<QtUi*>(&app.ui)) {
        qtUi->setMessageLine([this](const std::string& text) {
            controlBar_->showMessage(QString::fromStdString(text));
        });
    }

    for (const int id : {command::kCut, command::kCopy, command::kPaste}) {
        menu_->setEnabled(id, false);
    }
    for (const int id : {command::kAbout, command::kPlayList, command::kConfiguration,
                         command::kDefaultVelocity}) {
        menu_->setEnabled(id, isAvailable(id));
    }
    menu_->setTopLevelEnabled(MainMenu::kAweControlPosition,
                              app.soundFontControl && isAvailable(command::kAweControl));
    menu_->setChecked(command::kAnimate, app.settings.animate());
    menu_->setChecked(command::kMinimizeOnPlay, app.settings.hide());
    menu_->setChecked(command::kAlignToBeat, true);
    rebuildWindowsMenu();
    enableDocumentItems(false);

    setModeState(command::kStaffOrPiano, app.settings.staffNotation() ? 1 : 0);
    setModeState(command::kAnimateButton, animate_ ? 0 : 1);
    setModeState(command::kMinimizeButton, app.settings.hide() ? 1 : 0);
    toolbar_->button(command::kRecord)->setEnabled(isAvailable(command::kRecord));
    setStoppedButtons();
    toolbar_->button(command::kPlayAll)->setEnabled(true);
    toolbar_->button(command::kStop)->setEnabled(false);
    toolbar_->button(command::kNoteButtonFirst + 3)->setState(1);
    refreshControls();
}

MainWindow::~MainWindow() {
    if (auto* qtUi = dynamic_cast<QtUi*>(&app_.ui)) {
        qtUi->setMessageLine({});
    }
}

void MainWindow::readStartupSettings() {
    Settings& settings = app_.settings;
    // The division is only checked: a new song starts with the standard one.
    settings.division();
    app_.timing.defaultTempo = settings.tempo();
    app_.timing.defaultVelocity = settings.velocity();
    app_.deviceConfiguration.selectSavedOutput();
    animate_ = settings.animate();
    maximizeControl_ = settings.maximizeControl();
    useAwe_ = settings.useAwe();
    settings.lastDir();

    const WindowPlacement place = settings.readPlacement(
        kPlacementName, kFallbackTop, kFallbackLeft, kWidthBase, kHeightBase, std::nullopt);
    move(place.left, place.top);
    resize(place.width, place.height);
}

void MainWindow::showAsConfigured() {
    if (maximizeControl_) {
        showMaximized();
    } else {
        showNormal();
    }
}

void MainWindow::openStartupSong(const std::string& fileName) {
    if (fileName.empty()) {
        createStaffWindow(SongSource::New);
    } else {
        createStaffWindow(SongSource::File, fileName);
    }
    // With no song (the file was not found) there is nothing to play or save.
    if (current_ != nullptr) {
        enableDocumentItems(true);
    } else {
        activateStaffWindow(-1);
    }
}

void MainWindow::layoutChildren() {
    const QSize client = centralWidget()->size();
    toolbar_->setGeometry(0, 0, client.width(), Toolbar::kHeight);
    frame_->setGeometry(0, Toolbar::kHeight, client.width(),
                        client.height() - Toolbar::kHeight - ControlBar::kHeight - 2);
    controlBar_->setGeometry(0, client.height() - ControlBar::kHeight, client.width(),
                             ControlBar::kHeight);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
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
            maximizeControl_ = true;
        } else if (windowState() == Qt::WindowNoState) {
            maximizeControl_ = false;
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!saveSettings()) {
        event->ignore();
        return;
    }
    app_.settings.savePlacement(kPlacementName, y(), x(), width(), height());
    closing_ = true;
    // Every song has been asked about already.
    for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
        (*window)->closeWithoutAsking();
    }
    if (help_) {
        help_->close();
    }
    event->accept();
}

bool MainWindow::saveSettings() {
    Settings& settings = app_.settings;
    if (current_ != nullptr) {
        settings.setNumber(settings_keys::kDivision, current_->document().song.timeDivision);
        settings.setNumber(settings_keys::kNumberOfBeats, current_->page().barsPerPage());
        settings.setNumber(settings_keys::kTempo, app_.timing.defaultTempo);
        settings.setNumber(settings_keys::kVelocity, app_.timing.defaultVelocity);
        settings.setText(settings_keys::kStaffOrPiano,
                         current_->view().pianoRoll ? "PIANO" : "STAFF");
    }
    settings.setFlag(settings_keys::kAnimate, menu_->isChecked(command::kAnimate));
    settings.setFlag(settings_keys::kHide, menu_->isChecked(command::kMinimizeOnPlay));
    settings.setFlag(settings_keys::kMaximizeControl, maximizeControl_);
    settings.setFlag(settings_keys::kMaximizeStaff, maximizeStaff_);
    settings.setFlag(settings_keys::kUseAwe, useAwe_);
    return querySaveAll();
}

bool MainWindow::querySaveAll() {
    if (fileCommands_.refusedInPlayMode()) {
        return false;
    }
    StaffWindow* const before = current_;
    bool goAhead = true;
    for (std::size_t i = 0; i < windows_.size() && goAhead; ++i) {
        activateStaffWindow(static_cast<int>(i));
        goAhead = fileCommands_.querySave(&windows_[i]->document());
    }
    if (before != nullptr && indexOf(before) >= 0) {
        activateStaffWindow(indexOf(before));
    }
    return goAhead;
}

void MainWindow::command(int id) {
    if (id >= command::kNoteValueBase && id <= command::kNatural) {
        selectNoteValue(id - command::kNoteValueBase);
        return;
    }
    if (id >= command::kNoteButtonFirst && id <= command::kNoteButtonLast) {
        selectNoteValue(id - command::kNoteButtonFirst);
        return;
    }
    if (id >= command::kWindowFirst && id <= command::kWindowLast) {
        if (id - command::kWindowFirst < static_cast<int>(windows_.size())) {
            activateStaffWindow(id - command::kWindowFirst);
        }
        return;
    }
    if (id >= command::kModeAliasFirst && id <= command::kModeAliasLast) {
        id -= command::kModeAliasFirst - command::kStaffOrPiano;
    }
    switch (id) {
        case command::kTrackCombo:
            selectTrack();
            return;
        case command::kStaffOrPiano:
            toggleStaffOrPiano();
            return;
        case command::kDisplaySolo:
            toggleSolo(id, &StaffViewState::displaySolo, "Display Solo Selected",
                       "Display All Selected");
            if (current_ != nullptr) {
                current_->Redraw();
            }
            return;
        case command::kPlaySolo:
            toggleSolo(id, &StaffViewState::playSolo, "Play Solo Selected", "Play All Selected");
            return;
        case command::kAnimateButton:
        case command::kAnimate:
            toggleAnimate();
            return;
        case command::kMinimizeButton:
        case command::kMinimizeOnPlay:
            toggleMinimizeOnPlay();
            return;
        case command::kRecord:
            fileCommands_.refusedInPlayMode();
            return;
        case command::kNew:
            newSong();
            return;
        case command::kOpen:
            openSong();
            return;
        case command::kSave:
        case command::kSaveAs:
            saveSong(id == command::kSaveAs);
            return;
        case command::kExit:
            close();
            return;
        case command::kDeleteCurrentTrack:
            deleteCurrentTrack();
            return;
        case command::kSetCutCopy:
        case command::kSelectEntireTrack:
            startSelection(id == command::kSelectEntireTrack);
            return;
        case command::kCut:
        case command::kCopy:
            cutOrCopy(id == command::kCut);
            return;
        case command::kPaste:
        case command::kSetFirstNote:
            pasteOrSetFirstNote(id == command::kPaste);
            return;
        case command::kGoToBar:
        case command::kBarWidth:
        case command::kTimeSignature:
        case command::kTimeDivision:
        case command::kKeySignature:
        case command::kDefaultVelocity:
            optionDialog(id);
            return;
        case command::kDotted:
            menu_->setChecked(command::kDotted, !menu_->isChecked(command::kDotted));
            editSettings_.dotted = menu_->isChecked(command::kDotted);
            return;
        case command::kHelp:
            showHelp();
            return;
        case command::kSequentialInput:
            setInputMode(EditSettings::InputMode::Sequential);
            return;
        case command::kFreeFormInput:
            setInputMode(EditSettings::InputMode::FreeForm);
            return;
        case command::kAlignToBeat:
            setInputMode(EditSettings::InputMode::AlignToBeat);
            return;
        case command::kPrevPage:
        case command::kNextPage:
            turnPage(id == command::kNextPage);
            return;
        case command::kPlay:
            transport_.play();
            return;
        case command::kPlayAll:
            transport_.playAll();
            return;
        case command::kPause:
            transport_.pause();
            return;
        case command::kConfiguration: {
            ConfigurationDialog dialog(this, app_.deviceConfiguration);
            runDialog_(dialog);
            return;
        }
        default:
            // Stop acts when pressed, not when clicked.
            return;
    }
}

void MainWindow::postedCommand(int id, int param) {
    if (id != ID_PLAY_STEP) {
        command(id);
        return;
    }
    transport_.playStep(param);
}

void MainWindow::setTopMenusEnabled(bool enabled) {
    for (int position = 0; position < MainMenu::kTopLevelCount; ++position) {
        menu_->setTopLevelEnabled(position, enabled);
    }
    if (enabled) {
        menu_->setTopLevelEnabled(MainMenu::kAweControlPosition,
                                  app_.soundFontControl && isAvailable(command::kAweControl));
        menu_->setEnabled(command::kVoices, current_ != nullptr && isAvailable(command::kVoices));
    }
}

void MainWindow::setStoppedButtons() {
    for (const int id : {command::kPrevPage, command::kNextPage, command::kPlay}) {
        toolbar_->button(id)->setEnabled(true);
    }
    toolbar_->button(command::kPause)->setEnabled(false);
}

void MainWindow::setPlayingButtons() {
    for (const int id : {command::kPrevPage, command::kNextPage, command::kPlay}) {
        toolbar_->button(id)->setEnabled(false);
    }
    if (playActive() || playListActive_) {
        toolbar_->button(command::kPause)->setEnabled(true);
    }
}

void MainWindow::enableDocumentItems(bool enabled) {
    for (const int id : kDocumentItems) {
        menu_->setEnabled(id, enabled && isAvailable(id));
    }
    menu_->setEnabled(command::kPaste,
                      enabled && !pasteBuffer_.empty() && isAvailable(command::kPaste));
}

void MainWindow::activateStaffWindow(int index) {
    if (index >= 0 && index < static_cast<int>(windows_.size())) {
        current_ = windows_[index];
        activating_ = true;
        frame_->setActiveSubWindow(current_);
        activating_ = false;
    }
    QComboBox* combo = toolbar_->trackCombo();
    combo->clear();
    rebuildWindowsMenu();
    controlBar_->update();

    if (current_ == nullptr) {
        setPlayingButtons();
        for (const int id : {command::kPause, command::kPlayAll, command::kStop}) {
            toolbar_->button(id)->setEnabled(false);
        }
        setModeState(command::kDisplaySolo, 0);
        setModeState(command::kPlaySolo, 0);
        enableDocumentItems(false);
        return;
    }
    const OMBData& song = current_->document().song;
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        combo->addItem(QStringLiteral("%1 - %2").arg(track + 1).arg(
            QString::fromStdString(app_.voices.name(song.program[track]))));
    }
    const StaffViewState& view = current_->view();
    combo->setCurrentIndex(view.currentTrack);
    for (int i = 0; i < 6; ++i) {
        toolbar_->button(command::kNoteButtonFirst + i)->setState(i == view.noteValue ? 1 : 0);
    }
    setModeState(command::kStaffOrPiano, view.pianoRoll ? 0 : 1);
    setModeState(command::kDisplaySolo, view.displaySolo ? 1 : 0);
    setModeState(command::kPlaySolo, view.playSolo ? 1 : 0);
    current_->statusBar().fit();
}

void MainWindow::refreshControls() {
    if (current_ != nullptr) {
        toolbar_->trackCombo()->setCurrentIndex(current_->view().currentTrack);
    }
    controlBar_->repaint();
}

int MainWindow::currentNoteButton() const {
    int pressed = 3;
    for (int i = 0; i < 6; ++i) {
        if (toolbar_->button(command::kNoteButtonFirst + i)->state() == 1) {
            pressed = i;
        }
    }
    return pressed;
}

StaffWindow* MainWindow::createStaffWindow(SongSource source, const std::string& fileName) {
    if (windows_.size() >= kMaxStaffWindows) {
        app_.ui.errorBox("Too many songs open - close one first");
        return nullptr;
    }
    std::optional<std::string> path;
    if (source == SongSource::AskForFile) {
        path = fileCommands_.chooseSongToOpen();
        if (!path) {
            return nullptr;
        }
    } else if (source == SongSource::File) {
        path = fileName;
    }
    auto* window = new StaffWindow(app_, *this, fileCommands_.newSongName());
    if (path) {
        std::error_code error;
        const bool found = std::filesystem::is_regular_file(*path, error);
        if (!fileCommands_.load(window->document(), *path) && !found) {
            delete window;
            return nullptr;
        }
        window->refreshTitle();
    }
    windows_.push_back(window);
    current_ = window;
    activating_ = true;
    frame_->addSubWindow(window);
    window->placeAndShow(static_cast<int>(windows_.size()), frame_->viewport()->size());
    activating_ = false;
    activateStaffWindow(static_cast<int>(windows_.size()) - 1);
    if (path && window->document().song.trackCount > OMBData::kTrackCount) {
        showMessage("More Than 16 Tracks, Some tracks will not be shown");
    }
    return window;
}

void MainWindow::newSong() {
    if (createStaffWindow(SongSource::New) == nullptr) {
        return;
    }
    setStoppedButtons();
    toolbar_->button(command::kPlayAll)->setEnabled(true);
    toolbar_->button(command::kStop)->setEnabled(false);
    enableDocumentItems(true);
}

void MainWindow::openSong() {
    if (fileCommands_.refusedInPlayMode()) {
        return;
    }
    createStaffWindow(SongSource::AskForFile);
    if (current_ != nullptr) {
        setStoppedButtons();
        toolbar_->button(command::kPlayAll)->setEnabled(true);
        toolbar_->button(command::kStop)->setEnabled(false);
        enableDocumentItems(true);
    }
}

void MainWindow::saveSong(bool askForName) {
    if (fileCommands_.refusedInPlayMode() || current_ == nullptr) {
        return;
    }
    SongDocument& document = current_->document();
    if (askForName ? fileCommands_.saveAs(document) : fileCommands_.save(document)) {
        current_->refreshTitle();
        current_->RefreshStatusBar();
        rebuildWindowsMenu();
    }
}

void MainWindow::toggleStaffOrPiano() {
    if (current_ != nullptr) {
        current_->SetPianoRoll(!current_->view().pianoRoll);
    }
    const bool staff = toolbar_->button(command::kStaffOrPiano)->state() == 0;
    setModeState(command::kStaffOrPiano, staff ? 1 : 0);
    showMessage(staff ? "Staff Notation Selected" : "Piano Roll Notation Selected");
    app_.settings.setText(settings_keys::kStaffOrPiano, staff ? "STAFF" : "PIANO");
}

void MainWindow::toggleSolo(int buttonId, bool StaffViewState::*flag, const char* onMessage,
                            const char* offMessage) {
    bool solo = toolbar_->button(buttonId)->state() == 0;
    if (current_ != nullptr) {
        bool& windowFlag = current_->view().*flag;
        solo = windowFlag = !windowFlag;
    }
    setModeState(buttonId, solo ? 1 : 0);
    showMessage(solo ? onMessage : offMessage);
}

void MainWindow::toggleAnimate() {
    menu_->setChecked(command::kAnimate, !menu_->isChecked(command::kAnimate));
    animate_ = menu_->isChecked(command::kAnimate);
    setModeState(command::kAnimateButton, animate_ ? 0 : 1);
    showMessage(animate_ ? "Animation Turned On" : "Animation Turned Off");
}

void MainWindow::toggleMinimizeOnPlay() {
    const bool wasOn = menu_->isChecked(command::kMinimizeOnPlay);
    menu_->setChecked(command::kMinimizeOnPlay, !wasOn);
    setModeState(command::kMinimizeButton, wasOn ? 0 : 1);
    showMessage(wasOn ? "Minimize On Play Turned Off" : "Minimize On Play Turned On");
}

void MainWindow::selectNoteValue(int value) {
    // The buttons show the note values only: a rest or a symbol leaves none pressed.
    for (int i = 0; i < 6; ++i) {
        toolbar_->button(command::kNoteButtonFirst + i)->setState(i == value ? 1 : 0);
    }
    if (current_ != nullptr) {
        current_->view().noteValue = value;
    }
}

void MainWindow::setInputMode(EditSettings::InputMode mode) {
    editSettings_.inputMode = mode;
    menu_->setChecked(command::kAlignToBeat, mode == EditSettings::InputMode::AlignToBeat);
    menu_->setChecked(command::kSequentialInput, mode == EditSettings::InputMode::Sequential);
    menu_->setChecked(command::kFreeFormInput, mode == EditSettings::InputMode::FreeForm);
}

void MainWindow::deleteCurrentTrack() {
    if (current_ == nullptr) {
        return;
    }
    current_->editor().deleteCurrentTrack();
    activateStaffWindow(-1);
}

void MainWindow::startSelection(bool entireTrack) {
    if (current_ == nullptr) {
        return;
    }
    menu_->setEnabled(command::kSetCutCopy, false);
    menu_->setEnabled(command::kSelectEntireTrack, false);
    menu_->setEnabled(command::kCut, true);
    menu_->setEnabled(command::kCopy, true);
    menu_->setEnabled(command::kPaste, false);
    current_->editor().beginSelection();
    if (entireTrack) {
        current_->editor().selectEntireTrack();
    }
}

void MainWindow::cutOrCopy(bool cut) {
    if (current_ == nullptr) {
        return;
    }
    const WaitCursor waitCursor(app_.ui);
    menu_->setEnabled(command::kSetCutCopy, true);
    menu_->setEnabled(command::kSelectEntireTrack, true);
    menu_->setEnabled(command::kCut, false);
    menu_->setEnabled(command::kCopy, false);
    if (current_->editor().cutCopy(cut) > 0) {
        menu_->setEnabled(command::kPaste, true);
    }
    showMessage(std::to_string(pasteBuffer_.count()) + " items placed in paste buffer");
}

void MainWindow::pasteOrSetFirstNote(bool paste) {
    if (current_ == nullptr) {
        return;
    }
    BeatDialog dialog(this, paste ? BeatDialog::Purpose::Paste : BeatDialog::Purpose::SetFirstNote,
                      current_->document().song, current_->page().pageStartTick(), app_.ui);
    if (runDialog_(dialog) != QDialog::Accepted) {
        return;
    }
    if (dialog.choice() == BeatDialog::Choice::AtTick) {
        if (paste) {
            current_->editor().paste(dialog.tick(), 0);
        } else {
            current_->editor().setFirstNote(dialog.tick());
        }
    } else if (dialog.choice() == BeatDialog::Choice::UseMouse && paste) {
        editSettings_.pasteWithMouse = true;
    }
}

void MainWindow::optionDialog(int id) {
    if (current_ == nullptr) {
        return;
    }
    StaffWindow& staff = *current_;
    OMBData& song = staff.document().song;
    if (id == command::kKeySignature) {
        auto* keys = new KeyWindow(&staff, song, staff.glyphs(), [&staff] { staff.Redraw(); });
        keys->show();
        return;
    }
    std::unique_ptr<QDialog> dialog;
    switch (id) {
        case command::kGoToBar:
            dialog = std::make_unique<GoToBarDialog>(this, staff.page(), app_.ui);
            break;
        case command::kBarWidth:
            dialog = std::make_unique<BarWidthDialog>(this, staff.page(), app_.settings, app_.ui);
            break;
        case command::kTimeSignature:
            dialog = std::make_unique<TimeSignatureDialog>(this, song, app_.ui);
            break;
        case command::kTimeDivision:
            dialog = std::make_unique<TimeDivisionDialog>(this, song, app_.ui);
            break;
        default:
            dialog = std::make_unique<DefaultVelocityDialog>(this, app_.timing, app_.ui);
            break;
    }
    if (runDialog_(*dialog) == QDialog::Accepted) {
        staff.Redraw();
        staff.RefreshStatusBar();
        refreshControls();
    }
}

void MainWindow::selectTrack() {
    if (current_ == nullptr) {
        return;
    }
    current_->view().currentTrack = toolbar_->trackCombo()->currentIndex();
    refreshControls();
    current_->Redraw();
    current_->RefreshStatusBar();
}

void MainWindow::turnPage(bool forward) {
    if (current_ == nullptr) {
        return;
    }
    const WaitCursor waitCursor(app_.ui);
    if (forward) {
        current_->nextPage();
    } else {
        current_->previousPage();
    }
    refreshControls();
}

void MainWindow::showHelp() {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>();
    }
    help_->showStartPage();
}

void MainWindow::rebuildWindowsMenu() {
    QStringList names;
    for (const StaffWindow* window : windows_) {
        const std::string& name = window->document().fileName;
        const std::size_t slash = name.rfind('/');
        names << QString::fromStdString(slash == std::string::npos ? name : name.substr(slash));
    }
    menu_->rebuildWindows(names, indexOf(current_));
}

int MainWindow::indexOf(const StaffWindow* window) const {
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    return found == windows_.end() ? -1 : static_cast<int>(found - windows_.begin());
}

void MainWindow::setModeState(int id, int state) {
    toolbar_->button(id)->setState(state);
}

void MainWindow::showMessage(const std::string& text) {
    app_.ui.notice(text);
}

void MainWindow::staffWindowClicked(StaffWindow& window) {
    if (&window != current_ && !closing_) {
        activateStaffWindow(indexOf(&window));
    }
}

bool MainWindow::mayCloseStaffWindow(StaffWindow& window) {
    staffWindowClicked(window);
    return fileCommands_.querySave(&window.document());
}

void MainWindow::staffWindowClosed(StaffWindow& window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
    if (closing_) {
        return;
    }
    current_ = nullptr;
    activateStaffWindow(windows_.empty() ? -1 : 0);
}
