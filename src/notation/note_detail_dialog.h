#pragma once

#include "app/note_detail.h"
#include "notation/option_dialog.h"

class QLineEdit;

// "Note Detail": one note's beat, pitch name (read only), velocity, duration and channel. OK
// makes the note again from them, recorded in the edits given; a refused value changes nothing.
class NoteDetailDialog : public OptionDialog {
    Q_OBJECT

public:
    // The note at index of the track. entryChannel takes the channel chosen.
    NoteDetailDialog(QWidget* parent, OMBData& song, Ui& ui, int track, int index,
                     RecordedEdits& edits, int& entryChannel);

    QLineEdit& beat() { return *beat_; }
    QLineEdit& name() { return *name_; }
    QLineEdit& velocity() { return *velocity_; }
    QLineEdit& duration() { return *duration_; }
    QLineEdit& channel() { return *channel_; }
    // After OK, the note's index in its track; -1 when a value was refused or before OK.
    int noteIndex() const { return noteIndex_; }

protected:
    void apply() override;

private:
    QLineEdit* addField(const char* label, const std::string& text);

    NoteDetail detail_;
    RecordedEdits& edits_;
    int& entryChannel_;
    QLineEdit* beat_;
    QLineEdit* name_;
    QLineEdit* velocity_;
    QLineEdit* duration_;
    QLineEdit* channel_;
    int noteIndex_ = -1;
};
