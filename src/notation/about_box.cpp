#include "notation/about_box.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <utility>

#include "platform/dib_reader.h"
#include "qt/dib_image.h"

namespace {

const QColor kBackground(192, 192, 192);
const QRect kPlace(50, 50, 326, 390);
const QRect kOkPlace(275, 330, 40, 30);
const QPoint kProblemsAt(40, 130);
const QPoint kProductLineAt(130, 273);

}  // namespace

AboutBox::AboutBox(QWidget* owner, std::filesystem::path picture)
    : QWidget(owner, Qt::Window), picture_(std::move(picture)) {
    setWindowTitle(QStringLiteral("About tolvar' 32"));
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(kPlace);
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(kOkPlace);
    connect(ok, &QPushButton::clicked, this, &AboutBox::closeAndReturnFocus);
}

bool AboutBox::drawPicture(QPainter& painter, int x, int y) const {
    const std::optional<Dib> dib = DibReader::readFile(picture_);
    if (!dib) {
        return false;
    }
    const QImage image = dibImage(*dib);
    if (image.isNull()) {
        return false;
    }
    painter.drawImage(x, y, image);
    return true;
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    // Text is placed by the top of its line, as the layout gives it.
    const int ascent = fontMetrics().ascent();
    if (!drawPicture(painter, 0, 0)) {
        painter.drawText(kProblemsAt + QPoint(0, ascent),
                         QStringLiteral("Problems displaying About.bmp"));
    }
    painter.drawText(kProductLineAt + QPoint(0, ascent), QStringLiteral("tolvar' 32"));
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        closeAndReturnFocus();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutBox::closeAndReturnFocus() {
    close();
    if (parentWidget() != nullptr) {
        parentWidget()->activateWindow();
    }
}
