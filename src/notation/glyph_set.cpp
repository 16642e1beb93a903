#include "notation/glyph_set.h"

#include "qt/bitmap_resource.h"
#include "staff/duration_glyph.h"

namespace {

constexpr const char* kNames[glyph::kCount] = {
    "WHOLE",   "HALF",     "QUARTER", "EIGHTH",   "SIXTEEN",    "THIRTYSEC", "RWHOLE",
    "RHALF",   "RQUARTER", "REIGHTH", "RSIXTEEN", "RTHIRTYSEC", "SHARP",     "FLAT",
    "NATURAL", "BLANK",    "DOTTED",  "TREBLE",   "BASS",       "KEYBOARD"};

QImage stampOf(const QImage& picture, QColor colour) {
    QImage stamp(picture.size(), QImage::Format_ARGB32_Premultiplied);
    stamp.fill(Qt::transparent);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {
                stamp.setPixelColor(x, y, colour);
            }
        }
    }
    return stamp;
}

}  // namespace

GlyphSet::GlyphSet() {
    for (int i = 0; i < glyph::kCount; ++i) {
        pictures_[i] = bitmapResource(kNames[i]).toImage().convertToFormat(QImage::Format_RGB32);
        black_[i] = stampOf(pictures_[i], kOtherTrack);
        red_[i] = stampOf(pictures_[i], kCurrentTrack);
    }
}

const QImage& GlyphSet::stamp(int glyph, bool current) const {
    return current ? red_[glyph] : black_[glyph];
}
