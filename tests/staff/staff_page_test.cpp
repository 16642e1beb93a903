#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "model/omb_data.h"
#include "staff/print_layout.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace {

class StaffPageTest : public testing::Test {
protected:
    void setTime(int beatsPerBar, int beatUnit, int division) {
        song.timeSignature = {beatsPerBar, beatUnit};
        song.timeDivision = division;
    }

    SongTiming timing;
    OMBData song{timing};
    StaffPage page{song, 4};
};

TEST_F(StaffPageTest, FourBarsOfFourFourFillTheFixedPageAndOtherBarsTheirShare) {
    EXPECT_EQ(page.TickToX(0), 70);
    EXPECT_EQ(page.TickToX(480), 208);
    EXPECT_EQ(page.TickToX(1920), 622);
    EXPECT_EQ(page.XToTick(208), 480);
    page.setFirstBar(5);
    EXPECT_EQ(page.TickToX(1920), 70);
    EXPECT_EQ(page.TickToX(1919), 0) << "less than a pixel before the page is still off it";
    EXPECT_EQ(page.XToTick(69), 1916);

    // The bar width follows the bars per page and the time signature.
    EXPECT_EQ(StaffPage(song, 5).barsPerPage(), 4) << "an invalid count is taken as 4";
    page.setFirstBar(1);
    EXPECT_FALSE(page.setBarsPerPage(1));
    ASSERT_TRUE(page.setBarsPerPage(2));
    EXPECT_EQ(page.TickToX(120), 70 + 69);
    page.setBarsPerPage(4);
    setTime(3, 4, 120);
    EXPECT_EQ(page.TickToX(120), 70 + 46);
}

TEST_F(StaffPageTest, TicksAndPixelsMapBothWaysOnEveryPage) {
    for (int bars = 2; bars <= 4; ++bars) {
        for (const auto& [beats, unit] :
             {std::pair{4, 4}, {3, 4}, {5, 4}, {6, 8}, {7, 8}, {2, 2}}) {
            for (const int division : {48, 96, 120, 480}) {
                setTime(beats, unit, division);
                page.setBarsPerPage(bars);
                page.setFirstBar(3);
                SCOPED_TRACE(testing::Message() << bars << " bars of " << beats << "/" << unit
                                                << ", division " << division);
                const int barTicks = 4 * beats * division / unit;
                const int start = 2 * barTicks;
                const int pageTicks = bars * barTicks;
                for (int bar = 0; bar <= bars; ++bar) {
                    EXPECT_EQ(page.TickToX(start + bar * barTicks), page.barLineX(bar));
                    EXPECT_EQ(page.XToTick(page.barLineX(bar)), start + bar * barTicks);
                }
                for (int x = 70; x <= 622; ++x) {
                    const int tick = page.XToTick(x);
                    if ((x - 70) * pageTicks % 552 == 0) {  // a pixel on a whole tick
                        ASSERT_EQ(tick, start + (x - 70) * pageTicks / 552) << "x " << x;
                    }
                    ASSERT_LE(page.TickToX(tick), x);
                    ASSERT_GT(page.TickToX(tick), x - 1 - 552.0 / pageTicks);
                }
                for (int tick = start; tick <= start + pageTicks; ++tick) {
                    const int back = page.XToTick(page.TickToX(tick));
                    ASSERT_LE(back, tick);
                    ASSERT_GT(back, tick - 1 - pageTicks / 552.0);
                }
            }
        }
    }
}

TEST_F(StaffPageTest, WithoutATimeBaseNothingIsOnThePage) {
    page.setFirstBar(3);
    for (const auto& [beats, unit, division] : {std::tuple{4, 4, 0}, {0, 4, 120}, {4, 0, 120}}) {
        setTime(beats, unit, division);
        EXPECT_EQ(page.TickToX(5000), 0);
        EXPECT_EQ(page.XToTick(400), 0);
        EXPECT_FALSE(page.TurnPageTo(100000));
    }
}

TEST_F(StaffPageTest, VisibleBarsAreThoseWhoseClosingLineLiesLeftOfTheLimit) {
    EXPECT_EQ(page.visibleBars(), 4) << "before the first fit, the bars per page";
    page.fitVisibleBars(761);
    EXPECT_EQ(page.visibleBars(), 5);
    page.setBarsPerPage(2);
    EXPECT_EQ(page.visibleBars(), 2) << "changing the bars per page fits them again";
    page.setBarsPerPage(4);
    page.fitVisibleBars(622);
    EXPECT_EQ(page.visibleBars(), 3);
    page.fitVisibleBars(40);
    EXPECT_EQ(page.visibleBars(), 1) << "a window too narrow for a bar still pages";
}

TEST_F(StaffPageTest, PagingStepsByTheVisibleBarsAndGoToBarShowsTheBarAfterTheLabel) {
    page.nextPage();
    EXPECT_EQ(page.firstBar(), 5);
    page.fitVisibleBars(761);
    page.previousPage();
    EXPECT_EQ(page.firstBar(), 1) << "stops at bar 1";
    page.goToBar(2000);
    EXPECT_EQ(page.barsBeforePage(), 2000);
    EXPECT_EQ(page.pageStartTick(), 2000 * 480);
    page.goToBar(-3);
    EXPECT_EQ(page.firstBar(), 1);

    // Five bars show, one more than a page holds: Next and Prev step by five both ways.
    page.goToBar(10);
    page.nextPage();
    EXPECT_EQ(page.firstBar(), 16);
    page.previousPage();
    EXPECT_EQ(page.firstBar(), 11);
}

TEST_F(StaffPageTest, AChangeIsBroughtIntoViewOnlyWhenItLiesOffTheVisibleBars) {
    page.fitVisibleBars(761);  // bars 1 to 5
    EXPECT_FALSE(page.bringIntoView(5 * 480 - 1)) << "the last visible bar";
    EXPECT_FALSE(page.bringIntoView(0));
    EXPECT_EQ(page.firstBar(), 1);
    EXPECT_TRUE(page.bringIntoView(5 * 480));
    EXPECT_EQ(page.firstBar(), 6);
    EXPECT_TRUE(page.bringIntoView(5 * 480 - 1)) << "before the page";
    EXPECT_EQ(page.firstBar(), 5);
}

TEST_F(StaffPageTest, PlayingTurnsToTheBarThatLeftThePageAndPagesPastTheEndSaturate) {
    EXPECT_FALSE(page.TurnPageTo(1919));
    EXPECT_TRUE(page.TurnPageTo(2000));
    EXPECT_EQ(page.firstBar(), 5);
    EXPECT_FALSE(page.TurnPageTo(0)) << "pages never turn back";
    EXPECT_TRUE(page.TurnPageTo(INT_MAX));
    EXPECT_EQ(page.firstBar(), INT_MAX / 480 + 1);

    page.goToBar(INT_MAX);
    page.nextPage();
    EXPECT_EQ(page.firstBar(), INT_MAX);
    EXPECT_EQ(page.TickToX(INT_MAX), 0);
    EXPECT_EQ(page.XToTick(300), INT_MAX);
    page.setFirstBar(1);
    EXPECT_GT(page.TickToX(INT_MAX), 622);
}

TEST(StaffViewState, LowerRollHalfMovesUpByWholeKeyRowsAndScrollsOnlyInTheRoll) {
    StaffViewState view;
    view.rollLowerHalf = true;
    view.fitToHeight(592);
    EXPECT_EQ(view.rollShift(), 0);
    view.fitToHeight(500);
    EXPECT_EQ(view.rollShift(), 90);
    EXPECT_FALSE(view.showsScrollBar(500, false)) << "staff notation has no scroll bar";
    view.pianoRoll = true;
    EXPECT_TRUE(view.showsScrollBar(592, false));
    EXPECT_FALSE(view.showsScrollBar(593, false));
    EXPECT_FALSE(view.showsScrollBar(500, true));
}

}  // namespace

namespace {

// A printed line is four bars whatever the time signature; its notes spread over the same
// width. Half-note beats must not divide by nothing, and 3/8 must not lose its half quarter.
TEST(PrintLinesTest, FourBarsToALineForEveryTimeSignature) {
    struct Row {
        int beatsPerBar, beatUnit;
        std::int64_t ticksPerLine;
    };
    for (const Row row :
         {Row{4, 4, 1920}, Row{2, 2, 1920}, Row{3, 8, 720}, Row{6, 8, 1440}, Row{5, 16, 600}}) {
        const TimeSignature timing{row.beatsPerBar, row.beatUnit};
        EXPECT_EQ(print_pages::ticksPerLine(120, timing), row.ticksPerLine) << row.beatUnit;
        EXPECT_EQ(print_pages::lineOfTick(row.ticksPerLine * 2, 120, timing), 3);
        const PrintLayout printer(false);
        EXPECT_EQ(printer.printX(row.ticksPerLine, 0, row.ticksPerLine), printer.barLineX(4) + 20);
    }
}

}  // namespace
