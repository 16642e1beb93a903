#include "notation/title_author_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

#include "model/omb_data.h"

TitleAuthorDialog::TitleAuthorDialog(QWidget* parent, OMBData& song)
    : OptionDialog(parent, QStringLiteral("Title / Author")), song_(song) {
    title_ = new QLineEdit(this);
    author_ = new QLineEdit(this);
    for (QLineEdit* edit : {title_, author_}) {
        edit->setMaxLength(static_cast<int>(OMBData::kMaxTextLength));
    }
    form().addRow(QStringLiteral("Title "), title_);
    form().addRow(QStringLiteral("Author"), author_);
}

void TitleAuthorDialog::apply() {
    song_.setTitle(title_->text().toStdString());
    song_.setAuthor(author_->text().toStdString());
}
