#include "notation/staff_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>

#include "app/application.h"
#include "app/recorded_edits.h"
#include "notation/event_list_dialog.h"
#include "notation/note_detail_dialog.h"
#include "notation/staff_painter.h"
#include "notation/staff_surface.h"
#include "notation/staff_window_host.h"
#include "notation/status_bar.h"
#include "qt/bitmap_resource.h"
#include "staff/duration_glyph.h"
#include "staff/edit_settings.h"
#include "staff/staff_geometry.h"

namespace {

constexpr int kCascadeStep = 22;
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
      page_(document_.song, app.settings.barsPerPage()),
      editor_(document_.song, document_.history, page_, view_, host.editSettings(),
              host.pasteBuffer(), app.ui, *this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(bitmapResource("TOLVAR32"));
    document_.history.setObserver([this] { host_.historyChanged(*this); });
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

    statusBar_ = new StatusBar(surface_, document_, view_, page_, app_.speedPercent);
    surface_->setResizeHandler([this] {
        fitToSize();
        Redraw();
    });
    connect(surface_, &StaffSurface::pressed, this, &StaffWindow::mousePressed);
    connect(surface_, &StaffSurface::moved, this,
            [this](QPoint at) { editor_.mouseMove(at.x(), at.y()); });
    connect(surface_, &StaffSurface::released, this, [this](Qt::MouseButton button, QPoint at) {
        if (button == Qt::LeftButton) {
            editor_.leftButtonUp(at.x(), at.y());
        }
    });
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

StaffPainter StaffWindow::staffPainter(QPainter& painter) {
    return StaffPainter(painter, surface_->logicalSize(), glyphs_, document_.song, page_, view_);
}

void StaffWindow::Redraw() {
    const bool notesHidden = host_.notesAppearWhilePlaying();
    QPainter painter(&surface_->image());
    if (view_.pianoRoll) {
        staffPainter(painter).paintPianoRoll(notesHidden);
    } else {
        staffPainter(painter).paintStaff(notesHidden);
    }
    surface_->update();
}

void StaffWindow::drawNote(int x, int y, int glyph, int accidental, int velocity, int track,
                           bool dotted) {
    QPainter painter(&surface_->image());
    staffPainter(painter).drawNote(x, y, glyph, accidental, velocity, track, dotted);
    surface_->update();
}

void StaffWindow::drawRollNote(int x, int y, int duration, int accidental, int velocity,
                               int track) {
    QPainter painter(&surface_->image());
    staffPainter(painter).drawRollNote(x, y, duration, accidental, velocity, track);
    surface_->update();
}

void StaffWindow::invertRectangle(int left, int top, int right, int bottom) {
    QPainter painter(&surface_->image());
    staffPainter(painter).invertRectangle(left, top, right, bottom);
    surface_->update();
}

void StaffWindow::drawHighlight(const Note& note, int) {
    const int x = page_.TickToX(note.start());
    if (x == 0) {
        return;
    }
    // Whatever track sounds, it lights up in the current track's colour.
    if (view_.pianoRoll) {
        drawRollNote(x, note.position(), note.duration(), note.accidental(), note.velocity(),
                     view_.currentTrack);
        return;
    }
    const GlyphChoice choice =
        durationToGlyph(note.duration(), note.velocity(), document_.song.timeDivision);
    const StaffPitch shown = document_.song.adjustAccidental({note.position(), note.accidental()});
    drawNote(x, shown.position, choice.glyph, shown.accidental, note.velocity(), view_.currentTrack,
             choice.dotted);
}

void StaffWindow::tempoChanged() {
    statusBar_->updateTempoField();
}

void StaffWindow::mousePressed(Qt::MouseButton button, QPoint at) {
    host_.staffWindowClicked(*this);
    const int height = surface_->height();
    if (button == Qt::LeftButton) {
        editor_.leftButtonDown(at.x(), at.y(), height, host_.playActive(),
                               host_.currentNoteButton());
    } else if (button == Qt::RightButton) {
        editor_.rightButtonDown(at.x(), at.y(), height, host_.playActive());
    }
}

void StaffWindow::runEventList(bool trackDetail) {
    const EventListEditor::Page page{page_.firstBar(), page_.visibleBars(), page_.ticksPerBar(),
                                     view_.currentTrack};
    const auto run = [this](QDialog& dialog) { return host_.runDialog(dialog); };
    EventListDialog dialog(this, document_.song, app_.ui, trackDetail, page,
                           host_.editSettings().entryChannel, run);
    dialog.editor().setTempoObserver([this] { RefreshStatusBar(); });
    run(dialog);
    if (auto step = dialog.editor().take()) {
        document_.history.record(std::move(step));
    }
    Redraw();
    RefreshStatusBar();
}

void StaffWindow::openNoteDetail(int index) {
    RecordedEdits edits(document_.song, "Note Detail");
    NoteDetailDialog dialog(this, document_.song, app_.ui, view_.currentTrack, index, edits,
                            host_.editSettings().entryChannel);
    host_.runDialog(dialog);
    if (auto step = edits.take()) {
        document_.history.record(std::move(step));
    }
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
    // Pages turn forward as the music goes on, and back only when a loop starts over.
    if (page_.TurnPageTo(tick) || page_.bringIntoView(tick)) {
        Redraw();
        statusBar_->updateBarField();
    }
}

void StaffWindow::closeWithoutAsking() {
    askBeforeClosing_ = false;
    close();
}

void StaffWindow::fitToSize() {
    page_.fitVisibleBars(
        staff_geometry::barLinesEnd(surface_->logicalSize().width(), view_.pianoRoll));
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
