#pragma once

#include <cstdint>

struct TimeSignature;

// Where a printed page puts things, in thousandths of an inch with y upward from the top of
// the page (so everything on it has y <= 0). A page has five line slots; a line holds four
// bars. The printer draws at scale 2 from a left offset of 400, the preview at scale 1 from
// 500 and 250 lower. Qt-free, so the arithmetic is tested without a display.
class PrintLayout {
public:
    static constexpr int kBarsPerLine = 4;
    static constexpr int kSlotsPerPage = 5;
    static constexpr int kSlotHeight = 1000;  // at scale 1
    static constexpr int kLineWidth = 3000;   // at scale 1, first bar line to closing line

    explicit PrintLayout(bool preview);

    bool preview() const { return preview_; }
    int scale() const { return scale_; }
    int leftOffset() const { return leftOffset_; }
    // The slot origin of the page's first slot; each slot lies kSlotHeight x scale lower.
    int firstSlotOrigin() const { return preview_ ? 250 : 0; }
    int slotOrigin(int slot) const { return firstSlotOrigin() + slot * kSlotHeight * scale_; }

    // y of the five treble and five bass staff lines of the slot at origin o, top first.
    int trebleLineY(int index, int origin) const { return (-400 - 40 * index) * scale_ - origin; }
    int bassLineY(int index, int origin) const { return (-800 - 40 * index) * scale_ - origin; }
    // x of the bar line before bar k (0-3) of a line; k = 4 is the closing line.
    int barLineX(int k) const;
    // y of a character for a note at staff position, and of a ledger line at the screen's
    // ledger-line value v (the screen's y of that line), in the slot at origin o.
    int noteY(int position, int origin) const { return (-18 - position) * 4 * scale_ - origin; }
    int ledgerY(int v, int origin) const { return ((50 - v) / 10 - 10) * 40 * scale_ - origin; }

    // x of tick on the line that starts at lineStart: its share of kLineWidth after the
    // notes' margin. ticksPerLine 0 (no time base) puts every tick at the line's start.
    int printX(std::int64_t tick, std::int64_t lineStart, std::int64_t ticksPerLine) const;
    // x of a key-signature sign standing where tick of line 1 lies. The printer's is printX
    // less the left offset plus 340; the preview draws the same page at half the scale, so it
    // puts the signs at the printed place scaled down, right of the time signature: measured
    // from its own notes' margin they would fall on the clef and the time signature.
    int keySignatureX(std::int64_t tick, std::int64_t ticksPerLine) const;

private:
    bool preview_;
    int scale_;
    int leftOffset_;
    int noteMargin_;
};

// Lines and pages: line n holds bars 4n-3 to 4n; page 1 holds lines 1-4 under the title, page
// k > 1 lines 5(k-1) to 5(k-1)+4.
namespace print_pages {

struct Position {
    int line;
    int page;
};
// The page that holds line, and that page's first line.
Position pageOf(int line);
int firstLineOfPage(int page);
// The line a staff window starting at firstBar prints from: firstBar / 4, so the proposed
// page is the one holding the bar after firstBar's line.
int lineOfFirstBar(int firstBar);
// Next and Prev of the preview: on by the lines of this page, back by five, not before 1.
int nextPageLine(int line);
int previousPageLine(int line);

// Ticks in one printed line (four bars) for the song's division and time signature; 0
// without a time base.
std::int64_t ticksPerLine(int division, const TimeSignature& timing);
// The first tick of line.
std::int64_t lineStartTick(int line, int division, const TimeSignature& timing);
// The line that holds tick (>= 0); 1 without a time base.
int lineOfTick(std::int64_t tick, int division, const TimeSignature& timing);

}  // namespace print_pages
