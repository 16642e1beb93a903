#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QString>
#include <map>
#include <utility>

// The `MusicalSymbols` face: notes, clefs and signs written as single characters ("q" a
// quarter note, "&" the treble clef, "#" a sharp...) and drawn with the Unicode music symbols
// of a real font, Euterpe by default. Characters without a symbol (digits) are drawn as they
// are.
class MusicalSymbols {
public:
    static constexpr const char* kFaceName = "MusicalSymbols";
    static constexpr const char* kDefaultFamily = "Euterpe";

    // Looks the family up; the system may substitute another face for it.
    explicit MusicalSymbols(const QString& family = QString::fromLatin1(kDefaultFamily));

    // False when the face found has no note or clef symbols: nothing can be printed with it.
    bool available() const { return available_; }
    // The face's name as the page reports it: "MusicalSymbols" when the family asked for was
    // found, else the name of the face put in its place.
    QString faceName() const;
    // The font at a height of pixelSize units (whatever the painter's units are).
    QFont font(int pixelSize) const;

    // The text that draws a designed character.
    static QString symbol(char character);
    // How far below the top of the character cell the symbol's baseline lies, as a share of
    // the font's height: the notes' heads sit on the baseline and must fall half a cell down,
    // where the staff position puts them.
    static double baselineShare(char character);
    // The character's size as a share of the font's height.
    static double sizeShare(char character);
    // How far right of the character's place its text is drawn with font, in font units:
    // symbols start their ink at the place, the dot a little right of it so that it clears
    // the head; accidentals end theirs a little right of it, so they keep clear of the head
    // beside them.
    double inkShift(char character, const QFont& font) const;
    // The character as a glyph of the face at the font's size, drawn with its baseline's left
    // end at (0, 0); nothing when the face lacks it (a figure). Drawing a glyph needs no text
    // layout, which costs more than the drawing.
    const QGlyphRun* glyph(char character, const QFont& font) const;

private:
    QFont font_;
    // inkShift by character and pixel size: measuring the ink costs more than drawing it.
    mutable std::map<std::pair<char, int>, double> shifts_;
    mutable std::map<std::pair<char, int>, QGlyphRun> glyphs_;
    QString requested_;
    QString found_;
    bool available_ = false;
};
