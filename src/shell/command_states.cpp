#include "shell/command_states.h"

#include <QWidget>

#include "app/command_ids.h"
#include "model/track.h"
#include "shell/main_menu.h"
#include "shell/tool_button.h"
#include "shell/toolbar.h"

namespace {

constexpr int kDocumentItems[] = {command::kSave,
                                  command::kSaveAs,
                                  command::kExportAudio,
                                  command::kExportMusicXml,
                                  command::kPrint,
                                  command::kPrintPreview,
                                  command::kSetCutCopy,
                                  command::kSelectEntireTrack,
                                  command::kDeleteCurrentTrack,
                                  command::kSongSummary,
                                  command::kTrackDetail,
                                  command::kEventList,
                                  command::kNoteDetail,
                                  command::kGoToBar,
                                  command::kTranspose,
                                  command::kVolume,
                                  command::kBarWidth,
                                  command::kTimeDivision,
                                  command::kTimeSignature,
                                  command::kKeySignature,
                                  command::kVoices,
                                  command::kSetFirstNote};

}  // namespace

CommandStates::CommandStates(QWidget& window, MainMenu& menu, Toolbar& toolbar,
                             const Track& pasteBuffer, const bool& soundFontControl,
                             std::function<bool()> songOpen)
    : window_(window),
      menu_(menu),
      toolbar_(toolbar),
      pasteBuffer_(pasteBuffer),
      soundFontControl_(soundFontControl),
      songOpen_(std::move(songOpen)) {}

void CommandStates::showInitial() {
    for (const int id :
         {command::kUndo, command::kRedo, command::kCut, command::kCopy, command::kPaste}) {
        menu_.setEnabled(id, false);
    }
    for (const int id : {command::kAbout, command::kPlayList, command::kConfiguration,
                         command::kDefaultVelocity}) {
        menu_.setEnabled(id, true);
    }
    menu_.setTopLevelEnabled(MainMenu::kAweControlPosition, soundFontControl_);
    toolbar_.button(command::kRecord)->setEnabled(true);
}

void CommandStates::enableDocumentItems(bool enabled) {
    for (const int id : kDocumentItems) {
        menu_.setEnabled(id, enabled);
    }
    menu_.setEnabled(command::kPaste, enabled && !pasteBuffer_.empty());
}

void CommandStates::setButtonEnabled(int commandId, bool enabled) {
    toolbar_.button(commandId)->setEnabled(enabled);
}

void CommandStates::setTopMenusEnabled(bool enabled) {
    for (int position = 0; position < MainMenu::kTopLevelCount; ++position) {
        menu_.setTopLevelEnabled(position, enabled);
    }
    if (enabled) {
        menu_.setTopLevelEnabled(MainMenu::kAweControlPosition, soundFontControl_);
        menu_.setEnabled(command::kVoices, songOpen_());
    }
}

void CommandStates::setAcceleratorsEnabled(bool enabled) {
    menu_.setAcceleratorsEnabled(enabled);
}

// Minimizing keeps the other state flags, so a maximised window comes back maximised.
void CommandStates::minimize() {
    window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
}

void CommandStates::restore() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
}

bool CommandStates::isChecked(int commandId) const {
    return menu_.isChecked(commandId);
}
