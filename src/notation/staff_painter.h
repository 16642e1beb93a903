#pragma once

#include <QImage>
#include <QPainter>
#include <functional>

class GlyphSet;
class Note;
class OMBData;
class StaffPage;
struct StaffViewState;

// Draws a staff window's page onto its image: the grand staff with its notes or the piano
// roll, and the single notes that editing and playback add or erase. Everything is drawn at
// once, in client pixels; the image is the window's client area. The painter holds the image
// while it lives: make one for each piece of drawing and let it go before the image is shown
// or resized.
class StaffPainter {
public:
    StaffPainter(QImage& surface, const GlyphSet& glyphs, const OMBData& song, StaffPage& page,
                 const StaffViewState& view);

    // The whole page. With notesHidden (a song playing with animation, which draws each note
    // as it sounds) only the staff, clefs and signatures are drawn. Fits the page's visible
    // bars to the width.
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
    // A line from (x1, y1) up to but not including (x2, y2); horizontal or vertical.
    void line(int x1, int y1, int x2, int y2);
    int pageEndTick() const;

    QImage& surface_;
    const GlyphSet& glyphs_;
    const OMBData& song_;
    StaffPage& page_;
    const StaffViewState& view_;
    // One painter for everything this object draws: making one per stroke costs more than
    // the stroke.
    QPainter painter_;
};
