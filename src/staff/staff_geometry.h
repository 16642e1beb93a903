#pragma once

#include <array>
#include <vector>

// Where the grand staff and the piano roll put things, in client pixels, y downwards. A note's
// staff position is the y of the top of its 15 x 20 glyph; the head's centre is 15 lower.
namespace staff_geometry {

inline constexpr std::array<int, 5> kTrebleLines{50, 60, 70, 80, 90};
inline constexpr std::array<int, 5> kBassLines{150, 160, 170, 180, 190};
inline constexpr int kSystemLineX = 20;
inline constexpr int kLineRightMargin = 15;
inline constexpr int kBorderLeft = 4;
inline constexpr int kBorderTop = 5;
inline constexpr int kBorderBottom = 320;
inline constexpr int kBorderRightMargin = 5;
inline constexpr int kBarNumberY = 35;
inline constexpr int kTrebleClefX = 21;
inline constexpr int kTrebleClefY = 51;
inline constexpr int kBassClefY = 150;
inline constexpr int kTimeSignatureX = 41;
inline constexpr int kNumeratorY = 54;
inline constexpr int kDenominatorY = 71;
inline constexpr int kGlyphWidth = 15;
inline constexpr int kHeadOffset = 15;
// Rests are entered at this position, in the middle of the treble staff.
inline constexpr int kRestPosition = 60;
// Clicks at or below this y are not on the staff.
inline constexpr int kLowestClickY = 318;

// Bar lines stand left of this x: the staff's closing line, or the right edge of the piano
// roll, for a client area clientWidth pixels wide.
inline int barLinesEnd(int clientWidth, bool pianoRoll) {
    return pianoRoll ? clientWidth : clientWidth - kLineRightMargin;
}

// The event strip along the bottom, for a client area bottom pixels high.
inline int eventStripTop(int bottom) {
    return bottom - 43;
}
inline int eventStripBottom(int bottom) {
    return bottom - 25;
}

bool isStaffLine(int y);
// The ledger lines (and the neighbouring staff lines, drawn again) under a glyph at y.
std::vector<int> ledgerLines(int y);
// The staff lines that cross a glyph at y.
std::vector<int> staffLinesUnder(int y);

// Key signature glyph places by slot: x and the note position (the glyph goes 10 lower).
struct KeyGlyphPlace {
    int x;
    int y;
};
inline constexpr std::array<KeyGlyphPlace, 7> kSharpPlaces{
    {{50, 35}, {54, 50}, {58, 30}, {62, 45}, {66, 60}, {70, 40}, {74, 55}}};
inline constexpr std::array<KeyGlyphPlace, 7> kFlatPlaces{
    {{50, 55}, {54, 40}, {58, 60}, {62, 45}, {66, 65}, {70, 50}, {74, 70}}};

// The letter that marks an event of this status in the event strip: N note, K key pressure,
// C controller or channel pressure, P program or pitch bend, S system.
char eventLetter(int status);

// Piano roll: one 9-pixel row per white key.
inline constexpr int kRollRowHeight = 9;
inline constexpr int kRollBarHeight = 5;
// Clicks at or below this y are not on the roll.
inline constexpr int kLowestRollClickY = 539;
// The top of a note's bar in the roll, before the lower half's shift: the row of its letter,
// a sharp half a row up and a flat half a row down.
int rollNoteTop(int position, int accidental);
// The note position and accidental of a click at y (the shift of the half shown included).
struct RollPitch {
    int position;
    int accidental;
};
RollPitch rollPitchAt(int y, int shift);

}  // namespace staff_geometry
