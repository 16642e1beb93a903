#include <gtest/gtest.h>

#include <vector>

#include "staff/duration_glyph.h"
#include "staff/staff_geometry.h"

namespace {

namespace geo = staff_geometry;

// Each band's edges at division 120: the plain value, its dotted band, then the next longer
// value.
TEST(DurationToGlyphTest, EachDurationFallsInItsValuesBandOrItsDottedBand) {
    struct Case {
        int duration;
        int glyph;
        bool dotted;
    };
    const Case cases[] = {{0, 5, false},   {20, 5, false},    {21, 5, true},  {23, 5, true},
                          {24, 4, false},  {42, 4, false},    {43, 4, true},  {47, 4, true},
                          {48, 3, false},  {85, 3, false},    {86, 3, true},  {94, 3, true},
                          {95, 2, false},  {170, 2, false},   {171, 2, true}, {189, 2, true},
                          {190, 1, false}, {341, 1, false},   {342, 1, true}, {378, 1, true},
                          {379, 0, false}, {683, 0, false},   {684, 0, true}, {756, 0, true},
                          {757, 0, false}, {100000, 0, false}};
    for (const Case& c : cases) {
        const GlyphChoice choice = durationToGlyph(c.duration, 80, 120);
        EXPECT_EQ(choice.glyph, c.glyph) << c.duration;
        EXPECT_EQ(choice.dotted, c.dotted) << c.duration;
    }
    // Rests take the rest glyph of their value; the dotted tolerance scales with the division.
    EXPECT_EQ(durationToGlyph(120, 1, 120).glyph, glyph::kWholeRest + 2);
    EXPECT_EQ(durationToGlyph(180, 1, 120).glyph, glyph::kWholeRest + 2);
    EXPECT_TRUE(durationToGlyph(720, 80, 480).dotted);
    EXPECT_TRUE(durationToGlyph(700, 80, 480).dotted);
    EXPECT_FALSE(durationToGlyph(680, 80, 480).dotted);
    EXPECT_EQ(durationToGlyph(680, 80, 480).glyph, 2);
}

TEST(StaffGeometryTest, LedgerLinesReachFromTheStaffToTheNote) {
    EXPECT_EQ(geo::ledgerLines(30), std::vector<int>{40});             // G5, above the staff
    EXPECT_EQ(geo::ledgerLines(25), std::vector<int>{40});             // A5, line through its head
    EXPECT_EQ(geo::ledgerLines(85), (std::vector<int>{80, 90, 100}));  // middle C
    EXPECT_EQ(geo::ledgerLines(60), std::vector<int>{});
    EXPECT_EQ(geo::ledgerLines(115), (std::vector<int>{130, 140}));
    EXPECT_EQ(geo::ledgerLines(195), (std::vector<int>{180, 190, 200, 210}));
    EXPECT_EQ(geo::staffLinesUnder(55), (std::vector<int>{60, 70, 80}));
    EXPECT_EQ(geo::staffLinesUnder(30), std::vector<int>{50});
}

TEST(StaffGeometryTest, RollBarsSitOnTheirKeyRowAndClicksReadItBack) {
    EXPECT_EQ(geo::rollNoteTop(85, 0), 218);   // middle C
    EXPECT_EQ(geo::rollNoteTop(50, 0), 155);   // C5
    EXPECT_EQ(geo::rollNoteTop(85, 1), 213);   // C sharp
    EXPECT_EQ(geo::rollNoteTop(75, -1), 205);  // E flat
    EXPECT_EQ(geo::rollNoteTop(135, 0), 236);  // A3 on the bass staff
    // A click reads the pitch from the row under it.
    const geo::RollPitch middleC = geo::rollPitchAt(221, 0);
    EXPECT_EQ(middleC.position, 85);
    EXPECT_EQ(middleC.accidental, 0);
    EXPECT_EQ(geo::rollPitchAt(230, 0).position, 130) << "below middle C: the bass gap";
    EXPECT_EQ(geo::rollPitchAt(219, 0).accidental, 1);
    EXPECT_EQ(geo::rollPitchAt(226, 0).accidental, -1);
    EXPECT_EQ(geo::rollPitchAt(221 - 90, 90).position, 85) << "the lower half is shifted";
}

}  // namespace
