#include "notation/print_job.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <climits>
#include <string>

#include "model/note.h"
#include "model/omb_data.h"
#include "platform/ui.h"
#include "staff/duration_glyph.h"
#include "staff/staff_geometry.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace {

constexpr int kMusicHeight = 384;
constexpr int kTextHeight = 150;
// Note characters by glyph, thirty-second first.
constexpr char kNoteCharacters[] = "rxeqhw";
constexpr const char* kNoFont =
    "The musical font is not available. Install the musical font shipped with Notewell.";

bool isShown(const StaffViewState& view, int track) {
    return !view.displaySolo || track == view.currentTrack;
}

// The first element at or after tick t, or count() when there is none.
int firstAtOrAfter(const Track& elements, std::int64_t t) {
    const int first = t > INT_MAX ? -1 : elements.firstAtOrAfter(static_cast<int>(t));
    return first < 0 ? elements.count() : first;
}

}  // namespace

PrintJob::PrintJob(const OMBData& song, const StaffViewState& view, Ui& ui,
                   const MusicalSymbols& symbols, int firstBar)
    : song_(song), view_(view), ui_(ui), symbols_(symbols) {
    setLine(print_pages::lineOfFirstBar(firstBar));
}

QTransform PrintJob::thousandths(const QPainter& painter) {
    const QPaintDevice& device = *painter.device();
    return QTransform::fromScale(device.logicalDpiX() / 1000.0, device.logicalDpiY() / 1000.0) *
           painter.worldTransform();
}

void PrintJob::useThousandths(QPainter& painter) {
    painter.setWorldTransform(thousandths(painter));
}

void PrintJob::line(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawLine(units_.map(QPointF(x1, -y1)), units_.map(QPointF(x2, -y2)));
}

const PrintJob::Stamp& PrintJob::stamp(char c) {
    Stamp& stamp = stamps_[static_cast<unsigned char>(c) % stamps_.size()];
    if (!stamp.made) {
        const double height = kMusicHeight * layout_.scale();
        stamp.font = symbols_.font(
            std::max(1, qRound(height * MusicalSymbols::sizeShare(c) * units_.m22())));
        stamp.glyph = symbols_.glyph(c, stamp.font);
        stamp.offset = QPointF(symbols_.inkShift(c, stamp.font),
                               height * MusicalSymbols::baselineShare(c) * units_.m22());
        if (stamp.glyph != nullptr && rasterDevice_) {
            makePicture(stamp);
        }
        stamp.made = true;
    }
    return stamp;
}

void PrintJob::makePicture(Stamp& stamp) {
    const QRect ink = stamp.glyph->boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    stamp.picture = QImage(ink.size(), QImage::Format_ARGB32_Premultiplied);
    stamp.picture.fill(Qt::transparent);
    QPainter picture(&stamp.picture);
    picture.setPen(Qt::black);
    picture.drawGlyphRun(-ink.topLeft(), *stamp.glyph);
    stamp.offset += ink.topLeft();
}

void PrintJob::character(QPainter& painter, int x, int y, char c) {
    const Stamp& symbol = stamp(c);
    const QPointF place = units_.map(QPointF(x, -y)) + symbol.offset;
    if (!symbol.picture.isNull()) {
        painter.drawImage(place.toPoint(), symbol.picture);
    } else if (symbol.glyph != nullptr) {
        painter.drawGlyphRun(place, *symbol.glyph);
    } else {
        painter.setFont(symbol.font);
        painter.drawText(place, MusicalSymbols::symbol(c));
    }
}

void PrintJob::text(QPainter& painter, int x, int y, const QString& text, QFont font) {
    font.setPixelSize(std::max(1, qRound(font.pixelSize() * units_.m22())));
    painter.setFont(font);
    painter.drawText(units_.map(QPointF(x, -y)) + QPointF(0, QFontMetricsF(font).ascent()), text);
}

int PrintJob::PrintPage(QPainter& painter, bool preview) {
    layout_ = PrintLayout(preview);
    division_ = song_.timeDivision;
    const print_pages::Position position = print_pages::pageOf(line_);
    const int startLine = line_ = position.line;
    fontAvailable_ = symbols_.available();
    if (!fontAvailable_) {
        ui_.errorBox(kNoFont);
        return 0;
    }
    painter.save();
    // Everything is mapped to the device here and drawn without a painter transform: glyphs
    // drawn through a scaling are outlined one by one rather than stamped from a cache.
    units_ = thousandths(painter);
    painter.resetTransform();
    rasterDevice_ = painter.paintEngine()->type() == QPaintEngine::Raster;
    stamps_ = {};
    QPen pen(Qt::black);
    pen.setCosmetic(true);
    painter.setPen(pen);
    const int s = layout_.scale();
    const int left = layout_.leftOffset();
    if (symbols_.faceName() != QLatin1String(MusicalSymbols::kFaceName)) {
        QFont substitute = symbols_.font(kTextHeight * s);
        text(painter, 70, 7,
             QStringLiteral("The %1 font is interfering with selection of the Musical Font. "
                            "Results will be unpredicable")
                 .arg(symbols_.faceName()),
             substitute);
    }
    const QString pageNumber = QString::number(position.page);
    for (int i = 0; i < pageNumber.size(); ++i) {
        character(painter, 3500 * s + left + i * 60 * s, -layout_.firstSlotOrigin(),
                  pageNumber[i].toLatin1());
    }
    bool anyEmpty = false;
    for (int slot = 0; slot < PrintLayout::kSlotsPerPage; ++slot) {
        const int origin = layout_.slotOrigin(slot);
        if (position.page == 1 && slot == 0) {
            drawTitle(painter, origin);
            continue;
        }
        anyEmpty = PrintLine(painter, origin) != 0 || anyEmpty;
        ++line_;
    }
    line_ = startLine;
    painter.restore();
    return anyEmpty ? 1 : 0;
}

void PrintJob::drawTitle(QPainter& painter, int origin) {
    QFont font;
    font.setStyleHint(QFont::Serif);
    font.setFamily(QStringLiteral("serif"));
    font.setPixelSize(kTextHeight * layout_.scale());
    const int s = layout_.scale();
    const int left = layout_.leftOffset();
    const auto placed = [&](const std::string& words, int column, int y) {
        const int length = static_cast<int>(words.size());
        text(painter, (column - length) * 40 * s + left, y, QString::fromStdString(words), font);
    };
    placed(song_.title(), 45, -350 * s - origin);
    placed(song_.author(), 80, -800 * s - origin);
}

int PrintJob::PrintLine(QPainter& painter, int origin) {
    bool printed = false;
    drawNotes(painter, origin, printed);
    drawKeySignature(painter, origin);
    drawStaff(painter, origin);
    const int s = layout_.scale();
    const int x = 170 * s + layout_.leftOffset();
    const TimeSignature& timing = song_.timeSignature;
    character(painter, x, -256 * s - origin, QString::number(timing.beatsPerBar)[0].toLatin1());
    character(painter, x, -320 * s - origin, QString::number(timing.beatUnit)[0].toLatin1());
    return printed ? 0 : 1;
}

void PrintJob::drawNotes(QPainter& painter, int origin, bool& printed) {
    const std::int64_t perLine = print_pages::ticksPerLine(division_, song_.timeSignature);
    const std::int64_t start = print_pages::lineStartTick(line_, division_, song_.timeSignature);
    const std::int64_t end = start + perLine;
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        if (!isShown(view_, track)) {
            continue;
        }
        const Track& elements = song_.track(track);
        // Line 1 starts with the first element; later lines just before their first tick.
        int i = line_ == 1 ? 0 : firstAtOrAfter(elements, start - 1);
        for (; i < elements.count() && elements.at(i)->time() < end; ++i) {
            const Element& element = *elements.at(i);
            if (!element.isNote()) {
                continue;
            }
            const Note& note = static_cast<const Note&>(element);
            // Rests and notes of velocity 0 sound nothing and are not printed.
            if (note.velocity() <= Note::kRestVelocity) {
                continue;
            }
            const int x = layout_.printX(note.start(), start, perLine);
            if (x == 0) {
                continue;
            }
            drawNote(painter, x, layout_.noteY(note.position(), origin), note, origin);
            printed = true;
        }
    }
}

void PrintJob::drawNote(QPainter& painter, int x, int y, const Note& note, int origin) {
    const int s = layout_.scale();
    const GlyphChoice choice = durationToGlyph(note.duration(), note.velocity(), division_);
    character(painter, x, y, kNoteCharacters[glyph::kThirtySecond - choice.glyph]);
    const StaffPitch shown = song_.adjustAccidental({note.position(), note.accidental()});
    const char sign = shown.accidental == 1    ? '#'
                      : shown.accidental == -1 ? 'b'
                      : shown.accidental == 2  ? 'n'
                                               : '\0';
    if (sign != '\0') {
        character(painter, x - 40 * s, y, sign);
    }
    if (choice.dotted) {
        character(painter, x + 50 * s, y - 10 * s, '.');
    }
    for (const int v : staff_geometry::ledgerLines(note.position())) {
        const int ledgerY = layout_.ledgerY(v, origin);
        line(painter, x - 10 * s, ledgerY, x + 65 * s, ledgerY);
    }
}

void PrintJob::drawKeySignature(QPainter& painter, int origin) {
    // The signs stand where the screen's first page puts them, carried over to line 1.
    const StaffPage firstPage(song_, StaffPage::kDefaultBarsPerPage);
    const std::int64_t perLine = print_pages::ticksPerLine(division_, song_.timeSignature);
    const int s = layout_.scale();
    for (int slot = 0; slot < 7; ++slot) {
        const int sign = song_.keySignature[slot];
        if (sign == 0) {
            continue;
        }
        const staff_geometry::KeyGlyphPlace place =
            sign > 0 ? staff_geometry::kSharpPlaces[slot] : staff_geometry::kFlatPlaces[slot];
        const int x = layout_.keySignatureX(firstPage.XToTick(place.x), perLine);
        character(painter, x, ((85 - place.y) * 4 - 400) * s - origin, sign > 0 ? '#' : 'b');
    }
}

void PrintJob::drawStaff(QPainter& painter, int origin) {
    const int s = layout_.scale();
    const int left = layout_.leftOffset();
    character(painter, 50 * s + left, -360 * s - origin, '&');
    character(painter, 50 * s + left, -752 * s - origin, '?');
    line(painter, left + s, -400 * s - origin, left + s, -960 * s - origin);
    for (int k = 0; k <= 4; ++k) {
        const int x = layout_.barLineX(k);
        line(painter, x, -400 * s - origin, x, -560 * s - origin);
        line(painter, x, -800 * s - origin, x, -960 * s - origin);
    }
    const int right = layout_.barLineX(4);
    for (int i = 0; i < 5; ++i) {
        line(painter, left + s, layout_.trebleLineY(i, origin), right,
             layout_.trebleLineY(i, origin));
        line(painter, left + s, layout_.bassLineY(i, origin), right, layout_.bassLineY(i, origin));
    }
}

int PrintJob::lastNotePage() const {
    int lastTick = -1;
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        if (!isShown(view_, track)) {
            continue;
        }
        const Track& elements = song_.track(track);
        // Tracks are in time order: the last printable note is found walking back.
        for (int i = elements.count() - 1; i >= 0; --i) {
            const Element& element = *elements.at(i);
            if (element.isNote() &&
                static_cast<const Note&>(element).velocity() > Note::kRestVelocity) {
                lastTick = std::max(lastTick, element.time());
                break;
            }
        }
    }
    if (lastTick < 0) {
        return 1;
    }
    return print_pages::pageOf(
               print_pages::lineOfTick(lastTick, song_.timeDivision, song_.timeSignature))
        .page;
}

std::string PrintJob::startFailure(const QPrinter& printer) {
    const QString file = printer.outputFileName();
    if (file.isEmpty()) {
        return "The printer could not be started.";
    }
    // The PDF writer keeps its reason to itself; opening the file as it does tells it.
    QFile probe(file);
    const bool existed = probe.exists();
    std::string reason;
    if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
        probe.close();
        if (!existed) {
            probe.remove();
        }
    } else {
        reason = " (" + probe.errorString().toStdString() + ")";
    }
    return "The printer could not be started: " + file.toStdString() + " cannot be written" +
           reason + ".";
}

int PrintJob::print(QPrinter& printer, Range range, int from, int to) {
    printer.setDocName(QStringLiteral("Tolvar 32 Print"));
    const int savedLine = line_;
    int first = page();
    int last = first;
    if (range != Range::Selection) {
        first = range == Range::All ? 1 : std::max(1, from);
        last = std::max(first, std::min(range == Range::All ? lastNotePage() : to, lastNotePage()));
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui_.errorBox(startFailure(printer));
        return 0;
    }
    int printed = 0;
    for (int pageNumber = first; pageNumber <= last; ++pageNumber) {
        if (printed > 0) {
            printer.newPage();
        }
        line_ = print_pages::firstLineOfPage(pageNumber);
        PrintPage(painter, false);
        if (!fontAvailable_) {
            break;
        }
        ++printed;
    }
    painter.end();
    line_ = savedLine;
    return printed;
}
