#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "app/event_list_editor.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "Events" and "Track Detail": the song's events (and in the track detail its notes) one per
// line, the fields of the current one, the name lists that fill them, Create Event, Delete
// Event and OK. Esc closes without applying what is still pending; what was applied stays.
// The work is the EventListEditor's; the dialog copies between it and the controls.
class EventListDialog : public QDialog {
    Q_OBJECT

public:
    // Runs a modal dialog (the note detail of a note line); returns its result.
    using DialogRunner = std::function<int(QDialog&)>;

    // entryChannel: the channel of notes entered with the mouse, which the note detail sets.
    EventListDialog(QWidget* parent, OMBData& song, Ui& ui, bool trackDetail,
                    EventListEditor::Page page, int& entryChannel, DialogRunner runDialog);

    EventListEditor& editor() { return editor_; }
    QListWidget& list() { return *list_; }
    QLineEdit& field(EventFields::Field field) { return *fields_[field]; }
    QPlainTextEdit& data() { return *data_; }
    QComboBox& tracks() { return *tracks_; }
    QComboBox& eventNames() { return *eventNames_; }
    QComboBox& systemNames() { return *systemNames_; }
    QComboBox& metaNames() { return *metaNames_; }
    QRadioButton& showOption(EventListShow show) { return *showOptions_[static_cast<int>(show)]; }
    QPushButton& createButton() { return *create_; }
    QPushButton& deleteButton() { return *delete_; }
    QPushButton& okButton() { return *ok_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeFields();
    QWidget* makeShowOptions();
    void connectControls();
    // Runs an action of the editor, then copies its lines (when it made them anew, else the
    // text of the line that was current) and its fields into the controls.
    void act(const std::function<void()>& action);
    void refreshLines();
    void refreshFields();
    int runNoteDetail(RecordedEdits& edits, int track, int index);

    EventListEditor editor_;
    OMBData& song_;
    Ui& ui_;
    int& entryChannel_;
    DialogRunner runDialog_;
    QListWidget* list_;
    std::array<QLineEdit*, EventFields::kData> fields_{};
    QPlainTextEdit* data_;
    QComboBox* tracks_;
    QComboBox* eventNames_;
    QComboBox* systemNames_;
    QComboBox* metaNames_;
    std::array<QRadioButton*, 4> showOptions_{};
    QButtonGroup* shows_;
    QPushButton* create_;
    QPushButton* delete_;
    QPushButton* ok_;
    int shownFill_ = -1;
};
