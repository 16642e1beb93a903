#pragma once

// Glyph numbers, shared by the drawing, the menus (command id minus 820) and a staff window's
// note value.
namespace glyph {
inline constexpr int kWhole = 0;
inline constexpr int kThirtySecond = 5;
inline constexpr int kWholeRest = 6;
inline constexpr int kThirtySecondRest = 11;
inline constexpr int kSharp = 12;
inline constexpr int kFlat = 13;
inline constexpr int kNatural = 14;
inline constexpr int kBlank = 15;
inline constexpr int kDotted = 16;
inline constexpr int kTreble = 17;
inline constexpr int kBass = 18;
inline constexpr int kKeyboard = 19;
inline constexpr int kCount = 20;

inline bool isNoteValue(int value) {
    return value >= kWhole && value <= kThirtySecond;
}
inline bool isRest(int value) {
    return value >= kWholeRest && value <= kThirtySecondRest;
}
inline bool isAccidental(int value) {
    return value >= kSharp && value <= kNatural;
}
}  // namespace glyph

struct GlyphChoice {
    int glyph;
    bool dotted;
};

// The glyph that shows a duration of ticks at a time division: the longest plain value whose
// dotted length, within a twentieth, the duration does not pass; a duration within a twentieth
// of a dotted length is that value dotted. Rests (velocity 1) take the rest glyphs. Anything
// longer than a dotted whole is a plain whole.
GlyphChoice durationToGlyph(int duration, int velocity, int division);

// The length of a new note of this note value or rest: a whole is four beats. Accidentals
// have none.
int noteValueDuration(int noteValue, int division);
