#include "notation/voice_title_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

VoiceTitleDialog::VoiceTitleDialog(QWidget* parent, const QString& name)
    : OptionDialog(parent, QStringLiteral("Voice Title")) {
    title_ = new QLineEdit(name, this);
    form().addRow(QStringLiteral("Voice Title"), title_);
}

void VoiceTitleDialog::apply() {
    name_ = title_->text().left(kMaxNameChars).toStdString();
}
