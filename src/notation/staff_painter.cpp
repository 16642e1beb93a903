#include "notation/staff_painter.h"

#include <QPainter>
#include <functional>

#include "model/omb_data.h"
#include "notation/glyph_set.h"
#include "staff/duration_glyph.h"
#include "staff/staff_geometry.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace geo = staff_geometry;

namespace {

constexpr QColor kStripGrey{192, 192, 192};
constexpr QColor kRollCurrent{128, 128, 128};
// The key signature is drawn as track 8's notes would be.
constexpr int kKeySignatureTrack = 8;
constexpr int kEventsLabelX = 10;

QFont pageFont() {
    QFont font;
    font.setPixelSize(11);
    return font;
}

}  // namespace

StaffPainter::StaffPainter(QPainter& painter, QSize area, const GlyphSet& glyphs,
                           const OMBData& song, const StaffPage& page, const StaffViewState& view)
    : painter_(painter), area_(area), glyphs_(glyphs), song_(song), page_(page), view_(view) {
    painter_.setFont(pageFont());
    painter_.setPen(Qt::black);
}

void StaffPainter::line(int x1, int y1, int x2, int y2) {
    // The end point stays unpainted, so lines that meet do not paint their corner twice.
    const int endX = x2 > x1 ? x2 - 1 : x2 < x1 ? x2 + 1 : x2;
    const int endY = y2 > y1 ? y2 - 1 : y2 < y1 ? y2 + 1 : y2;
    painter_.drawLine(x1, y1, endX, endY);
}

void StaffPainter::drawText(int x, int y, const QString& text, const QColor* background) {
    const QFontMetrics metrics = painter_.fontMetrics();
    if (background != nullptr) {
        painter_.fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(), *background);
    }
    painter_.drawText(x, y + metrics.ascent(), text);
}

void StaffPainter::drawEventLetter(int x, int y, char letter) {
    EventLetter& cached = eventLetters_[static_cast<unsigned char>(letter) % eventLetters_.size()];
    if (cached.width < 0) {
        const QString text(QChar::fromLatin1(letter));
        cached.text = QStaticText(text);
        cached.text.setTextFormat(Qt::PlainText);
        cached.width = painter_.fontMetrics().horizontalAdvance(text);
        cached.height = painter_.fontMetrics().height();
    }
    painter_.fillRect(x, y, cached.width, cached.height, kStripGrey);
    painter_.drawStaticText(x, y, cached.text);
}

void StaffPainter::drawGlyph(int x, int y, int glyph, int track) {
    if (glyph == glyph::kBlank) {
        painter_.drawImage(x, y, glyphs_.picture(glyph));
    } else {
        painter_.drawImage(x, y, glyphs_.stamp(glyph, track == view_.currentTrack));
    }
}

void StaffPainter::repairStaffLines(int x, int y, int glyph) {
    for (const int lineY : geo::staffLinesUnder(y)) {
        line(x, lineY, x + geo::kGlyphWidth, lineY);
    }
    if (glyph != glyph::kBlank) {
        for (const int lineY : geo::ledgerLines(y)) {
            line(x, lineY, x + geo::kGlyphWidth, lineY);
        }
    }
}

void StaffPainter::drawNote(int x, int y, int glyph, int accidental, int velocity, int track,
                            bool dotted) {
    drawGlyph(x, y, glyph, track);
    if (velocity > 1) {
        if (accidental == 1 || accidental == -1 || accidental == 2) {
            const int sign = accidental == 1    ? glyph::kSharp
                             : accidental == -1 ? glyph::kFlat
                                                : glyph::kNatural;
            drawGlyph(x - 9, y + 9, sign, track);
        }
        if (dotted) {
            drawGlyph(x + 8, y + 12, glyph::kDotted, track);
        }
    }
    repairStaffLines(x, y, glyph);
}

void StaffPainter::drawEventStrip() {
    const int bottom = area_.height();
    const int right = area_.width();
    const int top = geo::eventStripTop(bottom);
    const int stripBottom = geo::eventStripBottom(bottom);
    painter_.fillRect(QRect(QPoint(geo::kBorderLeft, top),
                            QPoint(right - geo::kBorderRightMargin - 1, stripBottom - 1)),
                      kStripGrey);
    line(geo::kBorderLeft, top, right - geo::kBorderRightMargin, top);
    line(right - geo::kBorderRightMargin, top, right - geo::kBorderRightMargin, stripBottom);
    line(right - geo::kBorderRightMargin, stripBottom, geo::kBorderLeft, stripBottom);
    line(geo::kBorderLeft, stripBottom, geo::kBorderLeft, top);
    drawText(kEventsLabelX, bottom - 42, QStringLiteral("Events"), &kStripGrey);
}

void StaffPainter::drawKeySignature() {
    for (int slot = 0; slot < 7; ++slot) {
        const int sign = song_.keySignature[slot];
        if (sign == 0) {
            continue;
        }
        const geo::KeyGlyphPlace place =
            sign > 0 ? geo::kSharpPlaces[slot] : geo::kFlatPlaces[slot];
        drawNote(place.x, place.y + 10, sign > 0 ? glyph::kSharp : glyph::kFlat, 0, 0,
                 kKeySignatureTrack, false);
    }
}

void StaffPainter::drawStaffFrame() {
    const int right = area_.width();
    const int lineEnd = geo::barLinesEnd(right, false);
    painter_.drawRect(geo::kBorderLeft, geo::kBorderTop,
                      right - geo::kBorderRightMargin - geo::kBorderLeft,
                      geo::kBorderBottom - geo::kBorderTop);
    line(geo::kSystemLineX, geo::kTrebleLines.front(), geo::kSystemLineX, geo::kBassLines.back());
    // Bar lines, each labelled with the bars before it; the last label may lie beyond the
    // staff's end.
    for (int i = 0, x = StaffPage::kPageLeft; x < lineEnd; ++i) {
        line(x, geo::kTrebleLines.front(), x, geo::kTrebleLines.back() + 1);
        line(x, geo::kBassLines.front(), x, geo::kBassLines.back() + 1);
        x = page_.barLineX(i);
        drawText(x, geo::kBarNumberY, QString::number(page_.firstBar() + i - 1));
    }
    line(lineEnd, geo::kTrebleLines.front(), lineEnd, geo::kBassLines.back() + 1);
    for (const auto& lines : {geo::kTrebleLines, geo::kBassLines}) {
        for (const int y : lines) {
            line(geo::kSystemLineX, y, lineEnd, y);
        }
    }
}

void StaffPainter::drawTimeSignature() {
    const TimeSignature& timing = song_.timeSignature;
    drawText(geo::kTimeSignatureX, geo::kNumeratorY, QString::number(timing.beatsPerBar).left(1));
    drawText(geo::kTimeSignatureX, geo::kDenominatorY, QString::number(timing.beatUnit).left(1));
}

int StaffPainter::pageEndTick() const {
    return page_.XToTick(area_.width() - geo::kLineRightMargin);
}

void StaffPainter::drawTracks(const std::function<void(const Note&, int x, int track)>& drawNote) {
    const int end = pageEndTick();
    const int eventY = area_.height() - 42;
    // The current track goes last, so no other track paints over the notes being edited.
    for (int shown = 0; shown < OMBData::kTrackCount; ++shown) {
        const int track = shown == OMBData::kTrackCount - 1 ? view_.currentTrack
                          : shown < view_.currentTrack      ? shown
                                                            : shown + 1;
        if (view_.displaySolo && track != view_.currentTrack) {
            continue;
        }
        const Track& elements = song_.track(track);
        // A track that ends before the page has nothing on it.
        for (int i = elements.firstAtOrAfter(page_.pageStartTick());
             i >= 0 && i < elements.count() && elements.at(i)->time() < end; ++i) {
            const Element& element = *elements.at(i);
            const int x = page_.TickToX(element.time());
            if (x == 0) {
                continue;
            }
            if (element.isNote()) {
                drawNote(static_cast<const Note&>(element), x, track);
            } else {
                drawEventLetter(x, eventY,
                                geo::eventLetter(static_cast<const Event&>(element).status()));
            }
        }
    }
}

void StaffPainter::paintStaff(bool notesHidden) {
    painter_.fillRect(QRect(QPoint(0, 0), area_), Qt::white);
    drawEventStrip();
    drawKeySignature();
    drawStaffFrame();
    painter_.drawImage(geo::kTrebleClefX, geo::kTrebleClefY, glyphs_.stamp(glyph::kTreble, false));
    painter_.drawImage(geo::kTrebleClefX, geo::kBassClefY, glyphs_.stamp(glyph::kBass, false));
    drawTimeSignature();
    if (notesHidden) {
        return;
    }
    const int stripTop = geo::eventStripTop(area_.height());
    drawTracks([&](const Note& note, int x, int track) {
        if (note.position() + geo::kHeadOffset >= stripTop) {
            return;
        }
        const GlyphChoice choice =
            durationToGlyph(note.duration(), note.velocity(), song_.timeDivision);
        const StaffPitch shown = song_.adjustAccidental({note.position(), note.accidental()});
        drawNote(x, shown.position, choice.glyph, shown.accidental, note.velocity(), track,
                 choice.dotted);
        // drawNote has put back the lines under the shown position; a note shown elsewhere
        // leaves a gap at its own.
        if (shown.position != note.position()) {
            repairStaffLines(x, note.position(), choice.glyph);
        }
    });
}

void StaffPainter::drawRollNote(int x, int y, int duration, int accidental, int, int track) {
    const int top = geo::rollNoteTop(y, accidental) - view_.rollShift();
    if (top + 8 >= geo::eventStripTop(area_.height())) {
        return;
    }
    const double pageTicks = page_.ticksPerPage();
    const int right =
        pageTicks > 0 ? static_cast<int>(x + duration * StaffPage::kPageWidth / pageTicks) : x;
    if (track < 0) {
        // Erasing takes the outline too, so no edge of the old bar is left behind.
        painter_.fillRect(QRect(QPoint(x, top), QPoint(right, top + geo::kRollBarHeight)),
                          Qt::white);
        return;
    }
    // Outlined first, then filled short of the right and bottom edges: the fill covers the
    // top and left lines, so only the lower right of each bar is edged in black.
    painter_.drawRect(x, top, right - x, geo::kRollBarHeight);
    painter_.fillRect(QRect(x, top, right - x, geo::kRollBarHeight),
                      track == view_.currentTrack ? kRollCurrent : kStripGrey);
}

void StaffPainter::paintPianoRoll(bool notesHidden) {
    painter_.fillRect(QRect(QPoint(0, 0), area_), Qt::white);
    const int right = area_.width();
    const int bottom = area_.height();
    for (int i = 0, x = StaffPage::kPageLeft; x < geo::barLinesEnd(right, true); ++i) {
        line(x, 0, x, bottom);
        x = page_.barLineX(i);
        drawText(x + 3, 5, QString::number(page_.firstBar() + i - 1));
    }
    for (int y = 0; y < geo::eventStripTop(bottom); y += geo::kRollRowHeight) {
        line(0, y, right, y);
    }
    painter_.drawImage(0, -view_.rollShift(), glyphs_.stamp(glyph::kKeyboard, false));
    drawEventStrip();
    if (notesHidden) {
        return;
    }
    drawTracks([&](const Note& note, int x, int track) {
        drawRollNote(x, note.position(), note.duration(), note.accidental(), note.velocity(),
                     track);
    });
}

void StaffPainter::invertRectangle(int left, int top, int right, int bottom) {
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter_.drawRect(QRect(QPoint(left, top), QPoint(right, bottom)).normalized());
    painter_.restore();
}
