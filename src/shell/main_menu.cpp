#include "shell/main_menu.h"

#include <QMenu>
#include <QMenuBar>
#include <initializer_list>

#include "app/command_ids.h"
#include "qt/bitmap_resource.h"

namespace {

// A menu item; an id of 0 is a separator. Items with a bitmap show it in place of their text.
struct Item {
    const char* text;
    int id = 0;
    bool checkable = false;
    const char* bitmap = nullptr;
};

struct Accelerator {
    int id;
    QKeyCombination keys[2];
};
const Accelerator kAccelerators[] = {
    {command::kHelp, {Qt::Key_F1}},
    {command::kSave, {Qt::Key_F2}},
    {command::kOpen, {Qt::Key_F3}},
    {command::kUndo, {Qt::CTRL | Qt::Key_Z}},
    {command::kRedo, {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}},
    {command::kEventList, {Qt::CTRL | Qt::Key_E}},
    {command::kNoteDetail, {Qt::CTRL | Qt::Key_D}}};

using Items = std::initializer_list<Item>;

const Items kFile{{"&New", command::kNew},
                  {"&Open...", command::kOpen},
                  {"&Save...", command::kSave},
                  {"Save &As...", command::kSaveAs},
                  {"Export Audio...", command::kExportAudio},
                  {"Export MusicXML...", command::kExportMusicXml},
                  {""},
                  {"&Print", command::kPrint},
                  {"P&rint Preview", command::kPrintPreview},
                  {""},
                  {"P&lay List...", command::kPlayList},
                  {""},
                  {"A&bout...", command::kAbout},
                  {""},
                  {"E&xit", command::kExit}};
const Items kEdit{{"&Undo\tCtrl+Z", command::kUndo},
                  {"&Redo\tCtrl+Y", command::kRedo},
                  {""},
                  {"&Set Cut/Copy Notes", command::kSetCutCopy},
                  {"Select &Entire Track", command::kSelectEntireTrack},
                  {"&Cut", command::kCut},
                  {"C&opy", command::kCopy},
                  {"&Paste...", command::kPaste},
                  {""},
                  {"Delete Current &Track", command::kDeleteCurrentTrack},
                  {"Set &First Note...", command::kSetFirstNote}};
const Items kNotes{{"whole", 820, false, "WHOLE"},     {"half", 821, false, "HALF"},
                   {"quarter", 822, false, "QUARTER"}, {"eighth", 823, false, "EIGHTH"},
                   {"sixteen", 824, false, "SIXTEEN"}, {"thirty", 825, false, "THIRTYSEC"}};
const Items kRests{{"rWhole", 826, false, "RWHOLE"},     {"rHalf", 827, false, "RHALF"},
                   {"rQuarter", 828, false, "RQUARTER"}, {"rEighth", 829, false, "REIGHTH"},
                   {"rSixteen", 830, false, "RSIXTEEN"}, {"rThirty", 831, false, "RTHIRTYSEC"}};
const Items kSymbols{{"sharp", 832, false, "SHARP"},
                     {"flat", 833, false, "FLAT"},
                     {"natural", 834, false, "NATURAL"},
                     {""},
                     {"dotted", command::kDotted, true, "DOTTED"}};
const Items kOptions{{"&Go To Bar...", command::kGoToBar},
                     {"&Bar Width...", command::kBarWidth},
                     {"T&ime Signature...", command::kTimeSignature},
                     {"Time &Division...", command::kTimeDivision},
                     {"&Key Signature...", command::kKeySignature},
                     {""},
                     {"&Align to Beat", command::kAlignToBeat, true},
                     {"&Sequential Input", command::kSequentialInput, true},
                     {"&Free Form Input", command::kFreeFormInput, true},
                     {""},
                     {"&Events...\tCtrl+E", command::kEventList},
                     {"&Note Detail...\tCtrl+D", command::kNoteDetail},
                     {"T&rack Detail...", command::kTrackDetail},
                     {"&Song Summary...", command::kSongSummary},
                     {""},
                     {"&Transpose...", command::kTranspose},
                     {"&Volume...", command::kVolume},
                     {"De&fault Velocity...", command::kDefaultVelocity},
                     {""},
                     {"&Animate", command::kAnimate, true},
                     {"&Minimize on Play", command::kMinimizeOnPlay, true}};

// Practice stays usable while a song plays, shortcuts included: muting is for then.
const Items kPractice{{"&Mute Current Track\tCtrl+M", command::kMuteTrack, true},
                      {"&Solo Current Track\tCtrl+Shift+M", command::kSoloTrack, true},
                      {"&Clear Mute and Solo", command::kClearMuteAndSolo},
                      {""},
                      {"Spee&d...", command::kSpeed},
                      {"N&ormal Speed", command::kNormalSpeed},
                      {""},
                      {"&Loop\tCtrl+L", command::kLoop, true},
                      {"Loop &Bars...", command::kLoopBars},
                      {""},
                      {"Metronome for &Play", command::kMetronomeForPlay, true},
                      {"Metronome for &Record", command::kMetronomeForRecord, true},
                      {"Click &Eighths in Compound Meters", command::kClickEighths, true},
                      {""},
                      {"&No Count-in", command::kNoCountIn, true},
                      {"Count-in &1 Bar", command::kCountInOneBar, true},
                      {"Count-in &2 Bars", command::kCountInTwoBars, true}};
const Accelerator kPracticeKeys[] = {{command::kMuteTrack, {Qt::CTRL | Qt::Key_M}},
                                     {command::kSoloTrack, {Qt::CTRL | Qt::SHIFT | Qt::Key_M}},
                                     {command::kLoop, {Qt::CTRL | Qt::Key_L}}};

QIcon menuIcon(const char* bitmap) {
    return QIcon(bitmapResource(bitmap));
}

}  // namespace

MainMenu::MainMenu(QMenuBar& bar, std::function<void(int)> dispatch)
    : bar_(bar), dispatch_(std::move(dispatch)) {
    const auto addAction = [this](QAction* action, const Item& item) {
        action->setData(item.id);
        action->setCheckable(item.checkable);
        if (item.bitmap != nullptr) {
            // The picture is the item; the word stays as its tip and accessible name.
            action->setIcon(menuIcon(item.bitmap));
            action->setToolTip(QString::fromLatin1(item.text));
            action->setText({});
        }
        // The command sets check marks itself, as it does when a button or a test sends it.
        QObject::connect(action, &QAction::triggered, &bar_, [this, action, id = item.id] {
            if (action->isCheckable()) {
                action->setChecked(!action->isChecked());
            }
            dispatch_(id);
        });
        actions_[item.id] = action;
    };
    const auto addMenu = [&](const char* title, Items items) {
        QMenu* menu = bar_.addMenu(QString::fromLatin1(title));
        topLevel_.push_back(menu->menuAction());
        for (const Item& item : items) {
            if (item.id == 0) {
                menu->addSeparator();
            } else {
                addAction(menu->addAction(QString::fromLatin1(item.text)), item);
            }
        }
        return menu;
    };
    const auto addTopLevelCommand = [&](const char* text, int id) {
        QAction* action = bar_.addAction(QString::fromLatin1(text));
        topLevel_.push_back(action);
        addAction(action, Item{text, id});
    };

    addMenu("&File", kFile);
    addMenu("&Edit", kEdit);
    addMenu("&Notes", kNotes);
    addMenu("&Rests", kRests);
    addMenu("&Symbols", kSymbols);
    addMenu("&Options", kOptions);
    // Not one of the top-level items that a play greys.
    addMenu("&Practice", kPractice);
    topLevel_.pop_back();
    for (const Accelerator& keys : kPracticeKeys) {
        action(keys.id)->setShortcut(QKeySequence(keys.keys[0]));
    }
    addTopLevelCommand("&Voices...", command::kVoices);
    addTopLevelCommand("&Configuration...", command::kConfiguration);
    addTopLevelCommand("&AWE Control...", command::kAweControl);
    windows_ = bar_.addMenu(QStringLiteral("Windows"));
    topLevel_.push_back(windows_->menuAction());
    addTopLevelCommand("&Help", command::kHelp);

    setAcceleratorsEnabled(true);
}

QAction* MainMenu::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void MainMenu::setEnabled(int id, bool enabled) {
    action(id)->setEnabled(enabled);
}

void MainMenu::setText(int id, const QString& text) {
    action(id)->setText(text);
}

void MainMenu::setChecked(int id, bool checked) {
    action(id)->setChecked(checked);
}

bool MainMenu::isChecked(int id) const {
    return action(id)->isChecked();
}

void MainMenu::setTopLevelEnabled(int position, bool enabled) {
    topLevel_.at(position)->setEnabled(enabled);
}

bool MainMenu::isTopLevelEnabled(int position) const {
    return topLevel_.at(position)->isEnabled();
}

void MainMenu::setAcceleratorsEnabled(bool enabled) {
    for (const Accelerator& accelerator : kAccelerators) {
        QList<QKeySequence> keys;
        for (const QKeyCombination key : accelerator.keys) {
            if (enabled && key.key() != Qt::Key_unknown) {
                keys.append(QKeySequence(key));
            }
        }
        action(accelerator.id)->setShortcuts(keys);
    }
}

void MainMenu::rebuildWindows(const QStringList& names, int current) {
    for (int i = command::kWindowFirst; i <= command::kWindowLast; ++i) {
        actions_.erase(i);
    }
    windows_->clear();
    for (int i = 0; i < names.size(); ++i) {
        QAction* item = windows_->addAction(names[i]);
        item->setData(command::kWindowFirst + i);
        item->setCheckable(true);
        item->setChecked(i == current);
        QObject::connect(item, &QAction::triggered, &bar_,
                         [this, id = command::kWindowFirst + i] { dispatch_(id); });
        actions_[command::kWindowFirst + i] = item;
    }
}
