#include "shell/undo_commands.h"

#include <QString>

#include "app/command_ids.h"
#include "notation/key_window.h"
#include "notation/staff_window.h"
#include "shell/document_windows.h"
#include "shell/main_menu.h"

namespace {

QString itemText(const char* verb, const std::string& step, const char* keys) {
    QString text = QString::fromLatin1(verb);
    if (!step.empty()) {
        text += QLatin1Char(' ') + QString::fromStdString(step);
    }
    return text + QLatin1Char('\t') + QString::fromLatin1(keys);
}

}  // namespace

UndoCommands::UndoCommands(QWidget& window, MainMenu& menu, DocumentWindows& documents,
                           std::function<bool()> refused)
    : window_(window), menu_(menu), documents_(documents), refused_(std::move(refused)) {}

void UndoCommands::undo() {
    StaffWindow* current = documents_.current();
    if (current != nullptr && !refused_() && current->editor().undo()) {
        replayed();
    }
}

void UndoCommands::redo() {
    StaffWindow* current = documents_.current();
    if (current != nullptr && !refused_() && current->editor().redo()) {
        replayed();
    }
}

void UndoCommands::replayed() {
    // The programs may have changed with the step: the track list shows them afresh.
    documents_.activate(-1);
    // A key step may have been replayed while the song's key window is open.
    for (KeyWindow* keys : window_.findChildren<KeyWindow*>()) {
        keys->showSongKey();
    }
}

void UndoCommands::refresh() {
    const StaffWindow* current = documents_.current();
    const UndoHistory* history = current != nullptr ? &current->document().history : nullptr;
    menu_.setText(command::kUndo,
                  itemText("&Undo", history ? history->undoName() : std::string(), "Ctrl+Z"));
    menu_.setText(command::kRedo,
                  itemText("&Redo", history ? history->redoName() : std::string(), "Ctrl+Y"));
    menu_.setEnabled(command::kUndo, history != nullptr && history->canUndo());
    menu_.setEnabled(command::kRedo, history != nullptr && history->canRedo());
}

void UndoCommands::historyChanged(const StaffWindow& window) {
    if (&window == documents_.current()) {
        refresh();
    }
}
