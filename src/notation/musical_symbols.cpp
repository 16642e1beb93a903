#include "notation/musical_symbols.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QRawFont>

namespace {

// Euterpe's symbols at the designed height are too big for the staff: a head would fill one
// and a half spaces.
constexpr double kSymbolSize = 0.72;
// Its G clef is wider than the designed one, too: at the notes' size it would reach into the
// time signature beside it.
constexpr double kTrebleClefSize = 0.6;

struct Symbol {
    char character;
    char32_t codePoint;
    // Baseline below the cell's top, in font heights.
    double baseline;
    // In font heights.
    double size = kSymbolSize;
};

// Figures (time signature, page number) come from another face, whose digits at the music
// font's height would be twice the staff's: they are drawn at this share of it.
constexpr double kFigureSize = 0.28;
constexpr double kFigureBaseline = 0.6;
// Where an accidental's ink ends, right of its place, in font heights.
constexpr double kSignInkEnd = 0.09;
// Where the dot's ink starts, right of its place: a dot placed for narrower heads would fall
// on Euterpe's.
constexpr double kDotInkStart = 0.12;

bool isAccidental(char character) {
    return character == '#' || character == 'b' || character == 'n';
}

// Measured on Euterpe: its notes' heads lie a little above the baseline, its G clef stands on
// it, its F clef's dots lie well above it and its accidentals are centred a little above it.
constexpr double kNoteBaseline = 0.58;
constexpr double kSignBaseline = 0.62;
constexpr Symbol kSymbols[] = {
    {'w', U'\U0001D15D', kNoteBaseline},
    {'h', U'\U0001D15E', kNoteBaseline},
    {'q', U'\U0001D15F', kNoteBaseline},
    {'e', U'\U0001D160', kNoteBaseline},
    {'x', U'\U0001D161', kNoteBaseline},
    {'r', U'\U0001D162', kNoteBaseline},
    // The clef's baseline is its G line's, whatever its size.
    {'&', U'\U0001D11E', kNoteBaseline, kTrebleClefSize},
    {'?', U'\U0001D122', 0.67},
    {'#', U'\u266F', kSignBaseline},
    {'b', U'\u266D', kSignBaseline},
    {'n', U'\u266E', kSignBaseline},
    // Euterpe's augmentation dot has no ink: a full stop of the text face stands in.
    {'.', U'.', 0.51},
};

const Symbol* find(char character) {
    for (const Symbol& symbol : kSymbols) {
        if (symbol.character == character) {
            return &symbol;
        }
    }
    return nullptr;
}

}  // namespace

MusicalSymbols::MusicalSymbols(const QString& family) : font_(family), requested_(family) {
    // Only the face itself counts: with merging, any font that has a symbol would answer.
    QFont alone = font_;
    alone.setStyleStrategy(QFont::NoFontMerging);
    found_ = QFontInfo(alone).family();
    const QRawFont raw = QRawFont::fromFont(alone);
    // A face with the quarter note and the treble clef has the rest of the set too.
    available_ = raw.isValid() && raw.supportsCharacter(find('q')->codePoint) &&
                 raw.supportsCharacter(find('&')->codePoint);
}

QString MusicalSymbols::faceName() const {
    return found_.compare(requested_, Qt::CaseInsensitive) == 0 ? QString::fromLatin1(kFaceName)
                                                                : found_;
}

QFont MusicalSymbols::font(int pixelSize) const {
    QFont sized = font_;
    sized.setPixelSize(pixelSize);
    return sized;
}

QString MusicalSymbols::symbol(char character) {
    if (const Symbol* found = find(character)) {
        const char32_t codePoint = found->codePoint;
        return QString::fromUcs4(&codePoint, 1);
    }
    return QString(QChar::fromLatin1(character));
}

double MusicalSymbols::baselineShare(char character) {
    const Symbol* found = find(character);
    return found != nullptr ? found->baseline : kFigureBaseline;
}

double MusicalSymbols::sizeShare(char character) {
    const Symbol* found = find(character);
    return found != nullptr ? found->size : kFigureSize;
}

double MusicalSymbols::inkShift(char character, const QFont& font) const {
    if (find(character) == nullptr) {
        return 0;
    }
    const auto key = std::make_pair(character, font.pixelSize());
    if (const auto known = shifts_.find(key); known != shifts_.end()) {
        return known->second;
    }
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(symbol(character));
    const double shift = isAccidental(character) ? kSignInkEnd * font.pixelSize() - ink.right()
                         : character == '.'      ? kDotInkStart * font.pixelSize() - ink.left()
                                                 : -ink.left();
    shifts_.emplace(key, shift);
    return shift;
}

const QGlyphRun* MusicalSymbols::glyph(char character, const QFont& font) const {
    const auto key = std::make_pair(character, font.pixelSize());
    if (const auto known = glyphs_.find(key); known != glyphs_.end()) {
        return known->second.isEmpty() ? nullptr : &known->second;
    }
    QGlyphRun run;
    const QRawFont raw = QRawFont::fromFont(font);
    const QString text = symbol(character);
    if (find(character) != nullptr && raw.supportsCharacter(text.toUcs4().front())) {
        run.setRawFont(raw);
        run.setGlyphIndexes(raw.glyphIndexesForString(text));
        run.setPositions({QPointF(0, 0)});
    }
    const QGlyphRun& stored = glyphs_.emplace(key, run).first->second;
    return stored.isEmpty() ? nullptr : &stored;
}
