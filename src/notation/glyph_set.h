#pragma once

#include <QColor>
#include <QImage>
#include <array>

// The twenty notation bitmaps (notes, rests, accidentals, blank, dot, clefs, keyboard), ready
// to stamp in a colour: their black pixels take the colour, their white pixels stay
// transparent so the page shows through.
class GlyphSet {
public:
    // The colour of the current track's notes, and of everything else.
    static constexpr QColor kCurrentTrack{128, 0, 0};
    static constexpr QColor kOtherTrack{0, 0, 0};

    GlyphSet();

    // The glyph's black pixels in the current track's colour (current) or black.
    const QImage& stamp(int glyph, bool current) const;
    // The glyph as drawn, white pixels included: what erasing with the blank glyph copies.
    const QImage& picture(int glyph) const { return pictures_[glyph]; }

private:
    std::array<QImage, 20> pictures_;
    std::array<QImage, 20> black_;
    std::array<QImage, 20> red_;
};
