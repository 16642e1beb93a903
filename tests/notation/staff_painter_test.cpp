#include "notation/staff_painter.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "model/omb_data.h"
#include "notation/glyph_set.h"
#include "staff/duration_glyph.h"
#include "staff/staff_geometry.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace {

const QColor kRed = GlyphSet::kCurrentTrack;
const QColor kGrey{192, 192, 192};
const QColor kDarkGrey{128, 128, 128};
constexpr QSize kArea{700, 420};

class StaffPainterTest : public testing::Test {
protected:
    StaffPainterTest() { page.fitVisibleBars(staff_geometry::barLinesEnd(kArea.width(), false)); }

    QColor at(int x, int y) const { return image.pixelColor(x, y); }
    // Text is smoothed: its strokes are dark rather than black.
    bool anyDark(QRect area) const {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 100)
                    return true;
        return false;
    }
    bool any(QRect area, QColor colour) const {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }
    void addNote(int track, int start, int duration, int position, int accidental = 0) {
        song.track(track).add(std::make_unique<Note>(start, 80, duration, position, accidental, 0));
    }

    SongTiming timing;
    OMBData song{timing};
    StaffPage page{song, 4};
    StaffViewState view;
    QImage image{kArea, QImage::Format_RGB32};
    GlyphSet glyphs;
    QPainter qPainter{&image};
    StaffPainter painter{qPainter, kArea, glyphs, song, page, view};
};

TEST_F(StaffPainterTest, EmptyPageShowsTheGrandStaffBarLinesAndEventStrip) {
    painter.paintStaff(false);
    for (const int y : {50, 60, 70, 80, 90, 150, 160, 170, 180, 190})
        EXPECT_EQ(at(300, y), Qt::black) << y;
    EXPECT_EQ(at(300, 55), Qt::white);
    EXPECT_EQ(at(300, 100), Qt::white);
    for (const int x : {70, 208, 346, 484, 622}) {
        EXPECT_EQ(at(x, 75), Qt::black) << x;
        EXPECT_EQ(at(x, 175), Qt::black) << x;
    }
    EXPECT_EQ(at(685, 75), Qt::black) << "closing line at R - 15";
    EXPECT_EQ(at(690, 75), Qt::white);
    EXPECT_EQ(at(300, kArea.height() - 35), kGrey);
}

TEST_F(StaffPainterTest, CurrentTrackIsDarkRedOtherTracksBlackAndEventsMarkTheStrip) {
    addNote(0, 480, 120, 60);
    addNote(1, 960, 120, 60);
    song.track(0).add(std::make_unique<Event>(240, 0xC0, std::span<const std::uint8_t>{}, 5, 0, 0));
    painter.paintStaff(false);
    EXPECT_TRUE(any(QRect(page.TickToX(480), 70, 10, 10), kRed));
    const int other = page.TickToX(960);
    EXPECT_TRUE(any(QRect(other, 70, 10, 10), Qt::black));
    EXPECT_FALSE(any(QRect(other, 60, 15, 20), kRed));
    EXPECT_TRUE(anyDark(QRect(page.TickToX(240), kArea.height() - 42, 8, 14)));
    EXPECT_FALSE(anyDark(QRect(page.TickToX(600), kArea.height() - 42, 8, 14)));
}

// Each letter covers what lies under its box, an earlier letter's strokes too, and each kind
// of event shows its own letter: a program change's P, then a controller's C three pixels to
// its right, each drawn by a painter of its own as the window makes one for each paint.
TEST_F(StaffPainterTest, AnEventsLetterCoversTheLetterBeforeItAndShowsItsOwnKind) {
    const int x = page.TickToX(480);
    int secondTick = 481;
    while (page.TickToX(secondTick) < x + 3) {
        ++secondTick;
    }
    ASSERT_EQ(page.TickToX(secondTick), x + 3);
    const int top = kArea.height() - 42;
    const QRect first(x, top, 3, 14);
    const QRect second(x + 3, top, 7, 14);
    const auto paintWith = [this](std::vector<std::pair<int, int>> events) {
        song.track(0).clear();
        for (const auto& [tick, status] : events) {
            song.track(0).add(
                std::make_unique<Event>(tick, status, std::span<const std::uint8_t>{}, 5, 0, 0));
        }
        StaffPainter(qPainter, kArea, glyphs, song, page, view).paintStaff(false);
    };
    paintWith({{480, 0xC0}});
    const QImage programAlone = image.copy(first);
    paintWith({{secondTick, 0xB0}});
    const QImage controllerAlone = image.copy(second);
    ASSERT_NE(programAlone, image.copy(first));

    paintWith({{480, 0xC0}, {secondTick, 0xB0}});
    EXPECT_EQ(image.copy(first), programAlone);
    EXPECT_EQ(image.copy(second), controllerAlone);
}

// Later tracks painted over the notes of the track being edited.
TEST_F(StaffPainterTest, TheCurrentTracksNotesLieOverEveryOtherTracks) {
    for (const int track : {0, 1, 2, 15}) {
        addNote(track, 480, 120, 60);
    }
    for (const int current : {0, 1, 15}) {
        view.currentTrack = current;
        painter.paintStaff(false);
        EXPECT_TRUE(any(QRect(page.TickToX(480), 60, 15, 20), kRed)) << current;
    }
    // The piano roll too: the current track's bar is the darker one.
    view.currentTrack = 0;
    view.pianoRoll = true;
    painter.paintPianoRoll(false);
    int shaded = 0;
    for (int y = 0; y < staff_geometry::eventStripTop(kArea.height()); ++y) {
        shaded += at(page.TickToX(480) + 10, y) == kDarkGrey;
    }
    EXPECT_GT(shaded, 0) << "the current track's bar shows";
}

TEST_F(StaffPainterTest, DottedNoteGetsItsDotSharpNoteItsSignAndMiddleCItsLedgerLine) {
    addNote(0, 480, 180, 60);
    addNote(0, 1200, 120, 60, 1);
    addNote(0, 1440, 120, 85);
    painter.paintStaff(false);
    EXPECT_TRUE(any(QRect(page.TickToX(480) + 8, 72, 10, 10), kRed)) << "the dot";
    EXPECT_TRUE(any(QRect(page.TickToX(1200) - 9, 69, 8, 10), kRed)) << "the sharp";
    const int x = page.TickToX(1440);
    EXPECT_EQ(at(x + 14, 100), Qt::black) << "the ledger line";
    EXPECT_EQ(at(x + 14, 110), Qt::white);
}

// Middle C flat is kept at middle C's place and shown where B is: the ledger line of the place
// it is kept at is drawn as well.
TEST_F(StaffPainterTest, ANoteShownAwayFromItsPlaceKeepsTheLinesOfBoth) {
    addNote(0, 1440, 120, 85, -1);
    ASSERT_NE(song.adjustAccidental({85, -1}).position, 85);
    painter.paintStaff(false);
    EXPECT_EQ(at(page.TickToX(1440) + 14, 100), Qt::black) << "the ledger line";
}

TEST_F(StaffPainterTest, DisplaySoloHidesTheOtherTracksAndHiddenNotesAll) {
    addNote(1, 480, 120, 60);
    const QRect head(210, 72, 8, 6);  // between the lines, right of the bar line
    view.displaySolo = true;
    painter.paintStaff(false);
    EXPECT_FALSE(any(head, Qt::black));
    view.displaySolo = false;
    painter.paintStaff(false);
    EXPECT_TRUE(any(head, Qt::black));
    painter.paintStaff(true);
    EXPECT_FALSE(any(head, Qt::black)) << "hidden notes leave the staff empty";
}

TEST_F(StaffPainterTest, ErasingWithTheBlankGlyphLeavesTheStaffLines) {
    painter.paintStaff(false);
    painter.drawNote(300, 60, 2, 0, 80, 0, false);
    EXPECT_TRUE(any(QRect(300, 70, 10, 10), kRed));
    painter.drawNote(300, 60, glyph::kBlank, 0, 0, 0, false);
    EXPECT_FALSE(any(QRect(300, 60, 15, 20), kRed));
    EXPECT_EQ(at(305, 70), Qt::black);
}

// A printed page is drawn on a device larger than the page, through the same painter.
TEST_F(StaffPainterTest, DrawsOnlyWithinTheGivenArea) {
    QImage sheet(900, 500, QImage::Format_RGB32);
    sheet.fill(Qt::blue);
    QPainter onSheet(&sheet);
    StaffPainter(onSheet, kArea, glyphs, song, page, view).paintStaff(false);
    EXPECT_EQ(sheet.pixelColor(300, 50), Qt::black);
    EXPECT_EQ(sheet.pixelColor(685, 75), Qt::black) << "the closing line follows the area";
    EXPECT_EQ(sheet.pixelColor(800, 50), Qt::blue);
    EXPECT_EQ(sheet.pixelColor(300, 450), Qt::blue);
}

TEST_F(StaffPainterTest, RollBarsSitOnTheirRowsInTheirTrackShadeForTheirLength) {
    view.pianoRoll = true;
    addNote(0, 480, 120, 85);      // middle C
    addNote(1, 480, 120, 75, -1);  // E flat, another track
    painter.paintPianoRoll(false);
    const int x = page.TickToX(480);
    EXPECT_EQ(at(x + 2, 220), kDarkGrey) << "current track's fill";
    EXPECT_EQ(at(x + 2, 207), kGrey) << "other track's fill";
    // The bar is outlined and then filled, so the fill covers its top and left edges.
    EXPECT_EQ(at(x + 2, 218), kDarkGrey) << "top edge";
    EXPECT_EQ(at(x, 220), kDarkGrey) << "left edge";
    EXPECT_EQ(at(x + 2, 223), Qt::black) << "bottom edge";
    // A quarter is 34.5 pixels at four bars of 4/4.
    EXPECT_EQ(at(x + 34, 220), Qt::black) << "right edge";
    EXPECT_EQ(at(x + 35, 220), Qt::white);

    painter.drawRollNote(x, 85, 120, 0, 80, -1);
    EXPECT_EQ(at(x + 2, 220), Qt::white) << "erased";
}

}  // namespace
