#pragma once

#include <QList>
#include <QStyledItemDelegate>

class QFontMetricsF;

// Draws list lines whose fields are separated by tabs, each field in a column of its own. A
// column starts at its place in dialog units (a quarter of the list font's average character
// width), or further right when the field before it can hold a text that would reach that
// place: figures are wider than the average character, and a column that a long time pushed
// aside would leave every later field of its line out of step with the others.
class TabStopDelegate : public QStyledItemDelegate {
public:
    struct Column {
        int startInDialogUnits;
        // The most characters the column's field holds, counted as figures, the widest.
        int figures;
    };

    TabStopDelegate(QObject* parent, QList<Column> columns);

    // Where each column starts, in pixels right of where the line's text starts.
    QList<qreal> columnStarts(const QFontMetricsF& metrics) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QList<Column> columns_;
};
