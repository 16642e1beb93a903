#include "staff/duration_glyph.h"

#include "model/note.h"

namespace {

// Beats of each value, thirty-second first.
constexpr double kDivisors[] = {8, 4, 2, 1, 0.5, 0.25};
constexpr int kValueDivisors[] = {1, 2, 4, 8, 16, 32};

}  // namespace

GlyphChoice durationToGlyph(int duration, int velocity, int division) {
    const int base = velocity == Note::kRestVelocity ? glyph::kWholeRest : glyph::kWhole;
    for (int k = 0; k < 6; ++k) {
        const int length = static_cast<int>(division / kDivisors[k]);
        const int dotted = static_cast<int>(length * 1.5);
        const int tolerance = dotted / 20;
        if (duration < dotted - tolerance) {
            return {base + 5 - k, false};
        }
        if (duration <= dotted + tolerance) {
            return {base + 5 - k, true};
        }
    }
    return {base, false};
}

int noteValueDuration(int noteValue, int division) {
    if (glyph::isNoteValue(noteValue)) {
        return 4 * division / kValueDivisors[noteValue];
    }
    if (glyph::isRest(noteValue)) {
        return 4 * division / kValueDivisors[noteValue - glyph::kWholeRest];
    }
    return 0;
}
