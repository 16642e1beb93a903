#include "notation/song_summary_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/song_summary.h"
#include "notation/tab_stop_delegate.h"

namespace {

// Where the track lines' fields start, in dialog units (a quarter of the average character
// width), and how long they can be: a track of two figures, an element count of five, a voice.
const QList<TabStopDelegate::Column> kColumns = {{0, 2}, {20, 5}, {45, 0}};

}  // namespace

SongSummaryDialog::SongSummaryDialog(QWidget* parent, const SongSummary& summary)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Song Summary"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Track Summary"), this));
    tracks_ = new QListWidget(this);
    tracks_->setItemDelegate(new TabStopDelegate(tracks_, kColumns));
    for (const SongSummary::TrackLine& line : summary.lines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), tracks_);
        item->setData(Qt::UserRole, line.track);
    }
    layout->addWidget(tracks_);
    auto* form = new QFormLayout;
    type_ = new QLineEdit(QString::number(summary.format), this);
    length_ = new QLineEdit(QString::fromStdString(summary.length), this);
    for (QLineEdit* field : {type_, length_}) {
        field->setReadOnly(true);
    }
    form->addRow(QStringLiteral("Type"), type_);
    form->addRow(QStringLiteral("Length (min)"), length_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    connect(tracks_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        chosenTrack_ = item->data(Qt::UserRole).toInt();
        accept();
    });
    tracks_->setCurrentRow(0);
}

void SongSummaryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    tracks_->setFocus(Qt::TabFocusReason);
}
