#include "notation/staff_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollBar>

#include "notation/staff_surface.h"
#include "notation/staff_window_host.h"
#include "platform/bitmap_resource.h"
#include "shell/application.h"
#include "shell/status_bar.h"

namespace {

constexpr int kCascadeStep = 22;
// Notes and events are drawn up to this far left of the window's right edge.
constexpr int kRightMargin = 15;
// The stored place falls back to these when missing or unlikely.
constexpr int kFallbackTop = 42;
constexpr int kFallbackLeft = 0;
constexpr int kWidthBase = 600;
constexpr int kHeightBase = 350;
// "StaffOrPiano" is read keeping 7 characters here.
constexpr int kViewSettingChars = 7;

}  // namespace

StaffWindow::StaffWindow(Application& app, StaffWindowHost& host, std::string fileName)
    : app_(app),
      host_(host),
      document_(app.timing, std::move(fileName)),
      page_(document_.song, app.settings.barsPerPage()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(bitmapResource("TOLVAR32"));
    view_.pianoRoll = !app.settings.staffNotation(kViewSettingChars);

    auto* body = new QWidget;
    auto* layout = new QHBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    surface_ = new StaffSurface(body);
    rollScrollBar_ = new QScrollBar(Qt::Vertical, body);
    rollScrollBar_->setRange(0, 1);
    rollScrollBar_->setPageStep(1);
    layout->addWidget(surface_, 1);
    layout->addWidget(rollScrollBar_);
    setWidget(body);

    statusBar_ = new StatusBar(surface_, document_, view_, page_);
    surface_->setResizeHandler([this] { fitToSize(); });
    surface_->setPressHandler([this] { host_.staffWindowClicked(*this); });
    connect(rollScrollBar_, &QScrollBar::valueChanged, this, [this](int half) {
        view_.rollLowerHalf = half == 1;
        Redraw();
    });
    refreshTitle();
}

void StaffWindow::placeAndShow(int count, QSize frameClient) {
    const WindowPlacement place = app_.settings.readPlacement(
        kPlacementName, kFallbackTop, kFallbackLeft, kWidthBase, kHeightBase,
        std::pair{frameClient.width(), frameClient.height()});
    const int cascade = kCascadeStep * (count - 1);
    setGeometry(place.left + cascade, place.top + cascade, place.width, place.height);
    const bool maximized = app_.settings.maximizeStaff();
    host_.setStaffMaximized(maximized);
    if (maximized) {
        showMaximized();
    } else {
        showNormal();
    }
    fitToSize();
    Redraw();
}

void StaffWindow::Redraw() {
    page_.fitVisibleBars(surface_->width() - kRightMargin);
    surface_->clear();
}

void StaffWindow::RefreshStatusBar() {
    statusBar_->refresh();
}

void StaffWindow::refreshTitle() {
    const std::string& name = document_.fileName;
    setWindowTitle(QString::fromStdString(name.substr(name.rfind('/') + 1)));
}

void StaffWindow::SetPianoRoll(bool on) {
    view_.pianoRoll = on;
    fitToSize();
    Redraw();
}

void StaffWindow::nextPage() {
    page_.nextPage();
    Redraw();
    RefreshStatusBar();
}

void StaffWindow::previousPage() {
    page_.previousPage();
    Redraw();
    RefreshStatusBar();
}

void StaffWindow::TurnPageTo(int tick) {
    if (page_.TurnPageTo(tick)) {
        Redraw();
        statusBar_->updateBarField();
    }
}

void StaffWindow::closeWithoutAsking() {
    askBeforeClosing_ = false;
    close();
}

void StaffWindow::fitToSize() {
    const int height = surface_->height();
    view_.fitToHeight(height);
    rollScrollBar_->setVisible(view_.showsScrollBar(height, host_.playActive()));
    statusBar_->fit();
}

void StaffWindow::closeEvent(QCloseEvent* event) {
    if (askBeforeClosing_ && !host_.mayCloseStaffWindow(*this)) {
        event->ignore();
        return;
    }
    const QRect place = geometry();
    app_.settings.savePlacement(kPlacementName, place.top(), place.left(), place.width(),
                                place.height());
    host_.staffWindowClosed(*this);
    QMdiSubWindow::closeEvent(event);
}

void StaffWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        host_.setStaffMaximized(isMaximized());
    }
}
