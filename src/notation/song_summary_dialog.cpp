#include "notation/song_summary_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QVBoxLayout>

#include "app/song_summary.h"

namespace {

// The track lines' columns start at 20, 45 and 80 dialog units, a dialog unit being a quarter
// of the average character width.
constexpr int kTabStops[] = {20, 45, 80};

// Draws a line's text with the columns' tab stops; the style draws the rest of the line.
class TabStopDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QStyle* style = item.widget != nullptr ? item.widget->style() : qApp->style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        QList<qreal> stops;
        const qreal unit = item.fontMetrics.averageCharWidth() / 4.0;
        for (const int stop : kTabStops) {
            stops << stop * unit;
        }
        layout.setTabArray(stops);
        const bool selected = (item.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRectF(item.rect).adjusted(2, 0, 0, 0), text, layout);
        painter->restore();
    }
};

}  // namespace

SongSummaryDialog::SongSummaryDialog(QWidget* parent, const SongSummary& summary)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Song Summary"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Track Summary"), this));
    tracks_ = new QListWidget(this);
    tracks_->setItemDelegate(new TabStopDelegate(tracks_));
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
