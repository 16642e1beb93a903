#pragma once

#include <QList>
#include <QStyledItemDelegate>

// Draws list lines whose fields are separated by tabs with each field at a fixed tab stop.
// Stops are in dialog units: a quarter of the list font's average character width.
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(QObject* parent, QList<int> stopsInDialogUnits);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QList<int> stops_;
};
