#pragma once

#include <QSize>
#include <QStaticText>
#include <QString>
#include <array>
#include <functional>

class GlyphSet;
class Note;
class OMBData;
class QColor;
class QPainter;
class StaffPage;
struct StaffViewState;

// Draws a page of a song: the grand staff with its notes or the piano roll, and the single
// notes that editing and playback add or erase. It draws with the caller's QPainter in client
// pixels (y downwards) over an area from (0, 0) of the given size, whatever device the painter
// is on. The page must already be laid out for that area: the painter reads it and never
// changes it. The QPainter, glyphs, song, page and view must outlive the StaffPainter; it sets
// the QPainter's font and pen. It is cheap to make: make one for each piece of drawing, with
// one QPainter serving the whole piece.
class StaffPainter {
public:
    StaffPainter(QPainter& painter, QSize area, const GlyphSet& glyphs, const OMBData& song,
                 const StaffPage& page, const StaffViewState& view);

    // The whole page. With notesHidden (a song playing with animation, which draws each note
    // as it sounds) only the staff, clefs and signatures are drawn.
    void paintStaff(bool notesHidden);
    void paintPianoRoll(bool notesHidden);

    // A glyph with its decorations: the accidental and the dot only for a sounding note
    // (velocity above 1); the staff and ledger lines under it are drawn again.
    void drawNote(int x, int y, int glyph, int accidental, int velocity, int track, bool dotted);
    // The glyph's black pixels in the track's colour; the blank glyph is copied whole.
    void drawGlyph(int x, int y, int glyph, int track);
    void repairStaffLines(int x, int y, int glyph);
    // A piano-roll bar from x for duration ticks; track -1 erases it.
    void drawRollNote(int x, int y, int duration, int accidental, int velocity, int track);
    void invertRectangle(int left, int top, int right, int bottom);

private:
    void drawEventStrip();
    // Walks every shown track over the page: notes go to drawNote with their x, events are
    // marked in the strip.
    void drawTracks(const std::function<void(const Note&, int x, int track)>& drawNote);
    void drawStaffFrame();
    void drawKeySignature();
    void drawTimeSignature();
    // Writes text with its top-left corner at (x, y).
    void drawText(int x, int y, const QString& text, const QColor* background = nullptr);
    // An event's letter in the strip, on the strip's grey, with its top-left corner at (x, y).
    void drawEventLetter(int x, int y, char letter);
    // A line from (x1, y1) up to but not including (x2, y2); horizontal or vertical.
    void line(int x1, int y1, int x2, int y2);
    int pageEndTick() const;

    // One QPainter for everything this object draws: making one per stroke costs more than
    // the stroke.
    QPainter& painter_;
    QSize area_;
    const GlyphSet& glyphs_;
    const OMBData& song_;
    const StaffPage& page_;
    const StaffViewState& view_;
    // A page of a busy song marks thousands of events with a handful of letters: each is laid
    // out and measured once.
    struct EventLetter {
        QStaticText text;
        int width = -1;
        int height = 0;
    };
    std::array<EventLetter, 128> eventLetters_;
};
