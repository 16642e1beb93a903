#pragma once

class OMBData;

// The run of whole bars a staff window shows, and the mappings between ticks and x on it.
// A page starts at a first bar (1-based) and lays barsPerPage bars over kPageWidth pixels
// from kPageLeft; a window wider than that shows further bars at the same scale beyond
// kPageRight.
//
// Bar lengths come from the song's time division and the program-wide time signature, read
// at each call, so a change of either takes effect at the next mapping. A bar is
// beatsPerBar beats of a 1/beatUnit note: beatsPerBar x division / (beatUnit / 4) ticks.
// When the division, the beats per bar or the beat unit is not positive the page has no
// time base: every tick maps to x 0 (not on the page), every x to tick 0, and the page
// never turns by itself.
//
// The song must outlive the page. Not thread-safe; the window thread owns it.
class StaffPage {
public:
    static constexpr int kPageLeft = 70;
    static constexpr int kPageWidth = 552;
    static constexpr int kPageRight = kPageLeft + kPageWidth;
    static constexpr int kMinBarsPerPage = 2;  // Wide
    static constexpr int kMaxBarsPerPage = 4;  // Narrow
    static constexpr int kDefaultBarsPerPage = kMaxBarsPerPage;
    static constexpr bool isValidBarsPerPage(int bars) {
        return bars >= kMinBarsPerPage && bars <= kMaxBarsPerPage;
    }

    // Starts at bar 1 with barsPerPage visible bars; a barsPerPage outside 2-4 is taken
    // as 4.
    StaffPage(const OMBData& song, int barsPerPage);

    int barsPerPage() const { return barsPerPage_; }
    // Accepts 2, 3 or 4; anything else is refused (false) and changes nothing. The visible
    // bars are fitted again to the last drawing limit.
    bool setBarsPerPage(int barsPerPage);

    int firstBar() const { return firstBar_; }
    // A bar below 1 goes to bar 1.
    void setFirstBar(int bar);
    // The number the page's left bar line is labelled with: the bars before the page. It
    // is also what the status bar shows as the bar when it is painted whole.
    int barsBeforePage() const { return firstBar_ - 1; }
    // Shows first the bar after the line labelled barsBefore (0 is the start of the song).
    void goToBar(int barsBefore);

    // Whole bars that fit in the window, the step of next and previous page; at least 1.
    // Until the page is first fitted, barsPerPage().
    int visibleBars() const { return visibleBars_; }
    // Lays the page out for a window whose bar lines stand left of limitX (whenever the
    // window's size or view changes): counts the bars whose closing bar line lies left of
    // limitX; a window too narrow for one whole bar still counts 1, so paging moves on.
    void fitVisibleBars(int limitX);
    // x of the bar line that closes the given bar of the page (0 is the page's left edge);
    // barLineX(barsPerPage()) is kPageRight.
    int barLineX(int barsFromPageStart) const;

    // Whole ticks in one bar (the fraction dropped), 0 without a time base.
    int ticksPerBar() const;
    // Ticks across kPageWidth, unrounded; 0 without a time base.
    double ticksPerPage() const;
    // The first tick of the page: the start of the first bar, the fraction dropped; it
    // saturates for a page beyond the last 32-bit tick.
    int pageStartTick() const;
    // The 1-based bar that holds tick (>= 0), counting whole-tick bars; 1 without a time
    // base.
    int barOf(int tick) const;

    // x of tick on the page: kPageLeft for the page start, kPageRight for the start of the
    // bar after the page, beyond kPageRight further right (callers clip at the window's
    // drawing limit). 0 for a tick before the page start: not on this page.
    int TickToX(int tick) const;
    // The tick at x: the page start plus x's share of the page's ticks, truncated towards
    // zero. x left of kPageLeft gives ticks before the page start, negative ones on the
    // song's first page.
    int XToTick(int x) const;

    // The Next and Prev buttons: visibleBars() bars on, or back but not before bar 1.
    void nextPage();
    void previousPage();
    // Follows a play or record position: when tick lies beyond the visible bars, the bar
    // that holds it becomes the first bar. True when the page turned, and the window must
    // repaint its staff and status bar.
    bool TurnPageTo(int tick);
    // Shows the bar that holds tick first when tick lies before or beyond the visible bars.
    // True when the page moved.
    bool bringIntoView(int tick);

private:
    // The exact length of a bar in ticks; 0 without a time base.
    double barTicks() const;
    // The exact tick of the page's left edge, before the fraction is dropped.
    double exactPageStart() const;

    const OMBData& song_;
    int barsPerPage_;
    int firstBar_ = 1;
    // The drawing limit the visible bars were last fitted to; just right of the page's own
    // closing line until a window lays the page out.
    int limitX_ = kPageRight + 1;
    int visibleBars_;
};
