#include "notation/tab_stop_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

TabStopDelegate::TabStopDelegate(QObject* parent, QList<int> stopsInDialogUnits)
    : QStyledItemDelegate(parent), stops_(std::move(stopsInDialogUnits)) {}

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

    const qreal unit = option.fontMetrics.averageCharWidth() / 4.0;
    QList<qreal> stops;
    for (const int stop : stops_) {
        stops.append(stop * unit);
    }
    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setTabArray(stops);
    layout.setWrapMode(QTextOption::NoWrap);
    painter->save();
    painter->setPen(option.palette.color(
        option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRectF(option.rect).adjusted(2, 0, 0, 0), text, layout);
    painter->restore();
}
