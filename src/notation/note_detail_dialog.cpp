#include "notation/note_detail_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

NoteDetailDialog::NoteDetailDialog(QWidget* parent, OMBData& song, Ui& ui, int track, int index,
                                   RecordedEdits& edits, int& entryChannel)
    : OptionDialog(parent, QStringLiteral("Note Detail")),
      detail_(song, ui, track, index),
      edits_(edits),
      entryChannel_(entryChannel) {
    beat_ = addField("Beat:", detail_.beat);
    name_ = addField("Value ", detail_.name());
    name_->setReadOnly(true);
    velocity_ = addField("Velocity:", detail_.velocity);
    duration_ = addField("Duration:", detail_.duration);
    channel_ = addField("Channel:", detail_.channel);
}

QLineEdit* NoteDetailDialog::addField(const char* label, const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    form().addRow(QString::fromLatin1(label), edit);
    return edit;
}

void NoteDetailDialog::apply() {
    detail_.beat = beat_->text().toStdString();
    detail_.velocity = velocity_->text().toStdString();
    detail_.duration = duration_->text().toStdString();
    detail_.channel = channel_->text().toStdString();
    noteIndex_ = detail_.apply(edits_, entryChannel_);
}
