#include "notation/tab_stop_delegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPainter>

namespace {

// One list line drawn through the delegate, as the Events list draws it.
class TabStopDelegateTest : public testing::Test {
protected:
    QImage drawn(const QString& text) {
        list.clear();
        list.addItem(text);
        QStyleOptionViewItem option;
        option.initFrom(&list);
        option.rect = QRect(0, 0, kWidth, 20);
        option.font = list.font();
        option.fontMetrics = QFontMetrics(list.font());
        QImage image(kWidth, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        delegate.paint(&painter, option, list.model()->index(0, 0));
        return image;
    }
    // The rightmost column with ink: where the line's last field ends.
    static int inkEnd(const QImage& image) {
        for (int x = image.width() - 1; x >= 0; --x) {
            for (int y = 0; y < image.height(); ++y) {
                if (qGray(image.pixel(x, y)) < 128) {
                    return x;
                }
            }
        }
        return -1;
    }

    static constexpr int kWidth = 400;
    QListWidget list;
    TabStopDelegate delegate{&list, {{0, 10}, {35, 2}, {42, 0}}};
};

TEST_F(TabStopDelegateTest, EveryLinesFieldsLineUpWhateverTheWidthOfTheFieldsBefore) {
    // Times of three to nine characters and tracks of one and two figures: the kind that
    // follows them ends at the same column on every line.
    const int end = inkEnd(drawn("       0:0\t 1\tNote On"));
    ASSERT_GT(end, 0);
    for (const char* line :
         {"     0:120\t 1\tNote On", "    12:120\t16\tNote On", " 99999:479\t 9\tNote On"}) {
        EXPECT_EQ(inkEnd(drawn(QString::fromLatin1(line))), end) << line;
    }
    EXPECT_EQ(inkEnd(drawn(QString::fromLatin1("     0:120\t16\t"))),
              inkEnd(drawn(QString::fromLatin1("       0:0\t16\t"))))
        << "the track column too";

    // The columns never start left of their places.
    const QFontMetricsF metrics(list.font());
    const QList<qreal> starts = delegate.columnStarts(metrics);
    ASSERT_EQ(starts.size(), 3);
    EXPECT_EQ(starts[0], 0);
    EXPECT_GE(starts[1], 35 * metrics.averageCharWidth() / 4.0);
    EXPECT_GE(starts[2], 42 * metrics.averageCharWidth() / 4.0);
}

}  // namespace
