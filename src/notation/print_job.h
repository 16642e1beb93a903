#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QTransform>
#include <array>
#include <string>

#include "notation/musical_symbols.h"
#include "staff/print_layout.h"

class Note;
class OMBData;
class QGlyphRun;
class QPainter;
class QPrinter;
class Ui;
struct StaffViewState;

// One Print or Print Preview: draws a song's pages as staff notation with the musical
// symbols, in thousandths of an inch with y upward, so the printer, the preview and a PDF
// share every line of drawing. The song, view, Ui and symbols must outlive the job. Window
// thread only.
class PrintJob {
public:
    // Which pages the print loop prints: all of them, from-to, or the current page once.
    enum class Range { All, Pages, Selection };

    // The job starts at the line that holds the bar after firstBar's line.
    PrintJob(const OMBData& song, const StaffViewState& view, Ui& ui, const MusicalSymbols& symbols,
             int firstBar);

    int line() const { return line_; }
    void setLine(int line) { line_ = line < 1 ? 1 : line; }
    // The page that holds the job's line.
    int page() const { return print_pages::pageOf(line_).page; }
    bool fontAvailable() const { return fontAvailable_; }

    // Draws the page that holds the line with painter, whose device's resolution gives the
    // inch. Returns 1 when one of its lines printed no note, else 0; without the musical font
    // it shows the message, draws nothing and returns 0.
    int PrintPage(QPainter& painter, bool preview);
    // The page that holds the song's last printed note (1 for a song without one).
    int lastNotePage() const;
    // The print loop on printer from page `from` to page `to` (Range::Pages). Printing all pages
    // goes on to the page of the last note, and so does a range that asks for more. Ends early
    // when the musical font fails. Returns the pages printed; 0 when the printer did not start
    // (its box names the file printed into and why it cannot be written).
    int print(QPrinter& printer, Range range, int from, int to);

    // Sets painter to thousandths of an inch of its device.
    static void useThousandths(QPainter& painter);
    // Thousandths of an inch of painter's device, after its present transform.
    static QTransform thousandths(const QPainter& painter);

private:
    // The message for a printer that would not start.
    static std::string startFailure(const QPrinter& printer);
    // A designed character made ready for this page's device: its font, its glyph (none for
    // a figure) and where its text starts, in device pixels from its place. On an image the
    // glyph is drawn once into a picture that is then copied: a copy costs a fraction of a
    // glyph; the picture's offset is then that of its top-left corner.
    struct Stamp {
        bool made = false;
        QFont font;
        const QGlyphRun* glyph = nullptr;
        QPointF offset;
        QImage picture;
    };

    const Stamp& stamp(char c);
    static void makePicture(Stamp& stamp);
    int PrintLine(QPainter& painter, int origin);
    void drawNotes(QPainter& painter, int origin, bool& printed);
    void drawNote(QPainter& painter, int x, int y, const Note& note, int origin);
    void drawKeySignature(QPainter& painter, int origin);
    void drawStaff(QPainter& painter, int origin);
    void drawTitle(QPainter& painter, int origin);
    // A designed character with its cell's top-left at (x, y).
    void character(QPainter& painter, int x, int y, char c);
    // text with its cell's top-left at (x, y); font sized in thousandths.
    void text(QPainter& painter, int x, int y, const QString& text, QFont font);
    void line(QPainter& painter, int x1, int y1, int x2, int y2);

    const OMBData& song_;
    const StaffViewState& view_;
    Ui& ui_;
    const MusicalSymbols& symbols_;
    PrintLayout layout_{false};
    // This page's thousandths of an inch, y downward, to device pixels.
    QTransform units_;
    std::array<Stamp, 128> stamps_;
    bool rasterDevice_ = false;
    int line_;
    int division_ = 0;
    bool fontAvailable_ = true;
};
