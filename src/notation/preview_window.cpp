#include "notation/preview_window.h"

#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kButtonX = 359;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 30;
constexpr int kPlaceX = 10;
constexpr int kPlaceY = 50;

}  // namespace

PreviewWindow::PreviewWindow(QWidget* parent, const QString& caption, const OMBData& song,
                             const StaffViewState& view, Ui& ui, const MusicalSymbols& symbols,
                             int firstBar, std::function<void()> print)
    : QWidget(parent, Qt::Window), job_(song, view, ui, symbols, firstBar) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setGeometry(kPlaceX, kPlaceY, kWidth, kHeight);
    const auto button = [this](const char* text, int y) {
        auto* made = new QPushButton(QString::fromLatin1(text), this);
        made->setGeometry(kButtonX, y, kButtonWidth, kButtonHeight);
        made->setAutoDefault(false);
        return made;
    };
    prev_ = button("Prev", 300);
    next_ = button("Next", 330);
    print_ = button("Print", 360);
    cancel_ = button("Cancel", 390);
    connect(prev_, &QPushButton::clicked, this, [this] { turn(false); });
    connect(next_, &QPushButton::clicked, this, [this] { turn(true); });
    connect(print_, &QPushButton::clicked, this, [print = std::move(print)] { print(); });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
}

void PreviewWindow::turn(bool forward) {
    job_.setLine(forward ? print_pages::nextPageLine(job_.line())
                         : print_pages::previousPageLine(job_.line()));
    redraw();
}

void PreviewWindow::drawSheet(QPainter& painter) {
    PrintJob::useThousandths(painter);
    QPen pen(Qt::black);
    pen.setCosmetic(true);
    painter.setPen(pen);
    // y is upward: the page lies below its top edge at 0.
    painter.drawRect(QRectF(QPointF(250, 250), QPointF(4250, 5500)));
    for (const int x : {4260, 4270}) {
        painter.drawLine(QPointF(x, 300), QPointF(x, 5530));
    }
    for (const int y : {5510, 5520}) {
        painter.drawLine(QPointF(4250, y), QPointF(300, y));
    }
}

void PreviewWindow::redraw() {
    surface_.fill(Qt::white);
    {
        QPainter painter(&surface_);
        painter.save();
        drawSheet(painter);
        painter.restore();
        job_.PrintPage(painter, true);
    }
    update();
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, surface_);
}

void PreviewWindow::resizeEvent(QResizeEvent*) {
    // On a screen of several device pixels to the point the sheet has them all, so a scaled
    // screen shows it sharp; it is drawn and measured in points.
    const qreal ratio = devicePixelRatioF();
    surface_ = QImage(size().expandedTo({1, 1}) * ratio, QImage::Format_RGB32);
    surface_.setDevicePixelRatio(ratio);
    // The sheet is measured in inches of this screen.
    surface_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    surface_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    redraw();
}
