#include "notation/tab_stop_delegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {

// The text stands this far right of the line's frame.
constexpr qreal kTextMargin = 2;

}  // namespace

TabStopDelegate::TabStopDelegate(QObject* parent, QList<Column> columns)
    : QStyledItemDelegate(parent), columns_(std::move(columns)) {}

QList<qreal> TabStopDelegate::columnStarts(const QFontMetricsF& metrics) const {
    const qreal unit = metrics.averageCharWidth() / 4.0;
    qreal figure = 0;
    for (const QChar digit : QStringLiteral("0123456789")) {
        figure = std::max(figure, metrics.horizontalAdvance(digit));
    }
    // Two dialog units keep a full field off the next one.
    const qreal gap = 2 * unit;
    QList<qreal> starts;
    qreal reach = 0;
    for (const Column& column : columns_) {
        const qreal start = std::max(column.startInDialogUnits * unit, reach);
        starts.append(start);
        reach = start + column.figures * figure + gap;
    }
    return starts;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The frame, the selection and the focus are drawn as for any line; the text here.
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QList<qreal> starts = columnStarts(QFontMetricsF(option.font));
    const QStringList fields = text.split(QLatin1Char('\t'));
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(
        option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetricsF metrics(option.font);
    const QRectF line = QRectF(option.rect).adjusted(kTextMargin, 0, 0, 0);
    qreal reach = 0;
    for (qsizetype field = 0; field < fields.size(); ++field) {
        // A field longer than its column, or beyond the columns, pushes the rest of its line
        // on rather than writing over them.
        const qreal start = std::max(field < starts.size() ? starts[field] : 0, reach);
        painter->drawText(line.adjusted(start, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          fields[field]);
        reach = start + metrics.horizontalAdvance(fields[field]) + metrics.averageCharWidth() / 2;
    }
    painter->restore();
}
