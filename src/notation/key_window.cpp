#include "notation/key_window.h"

#include <QComboBox>
#include <QPainter>
#include <QPushButton>

#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/undo_history.h"
#include "notation/glyph_set.h"
#include "staff/duration_glyph.h"
#include "staff/staff_geometry.h"

namespace geo = staff_geometry;

namespace {

constexpr const char* kKeyNames[KeyWindow::kKeyCount] = {
    "Cb Major/Ab Minor", "Gb Major/Eb Minor", "Db Major/Bb Minor", "Ab Major/F Minor",
    "Eb Major/C Minor",  "Bb Major/G Minor",  "F Major/D Minor",   "C Major/A Minor",
    "G Major/E Minor",   "D Major/B Minor",   "A Major/F# Minor",  "E Major/C# Minor",
    "B Major/G# Minor",  "F# Major/D# Minor", "C# Major/A# Minor"};
constexpr int kCMajor = 7;
constexpr int kStaffRight = 110;

}  // namespace

KeyWindow::KeyWindow(QWidget* owner, OMBData& song, UndoHistory& history, const GlyphSet& glyphs,
                     std::function<void()> onOk)
    : QWidget(owner, Qt::Tool), song_(song), history_(history), glyphs_(glyphs) {
    setWindowTitle(QStringLiteral("Key Signiture"));
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(50, 50, 320, 285);
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));

    keys_ = new QComboBox(this);
    for (const char* name : kKeyNames) {
        keys_->addItem(QString::fromLatin1(name));
    }
    keys_->setGeometry(130, 50, 170, keys_->sizeHint().height());
    keys_->setCurrentIndex(indexOf(song));
    connect(keys_, &QComboBox::activated, this, &KeyWindow::apply);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(260, 220, 40, 30);
    connect(ok, &QPushButton::clicked, this, [this, onOk = std::move(onOk)] {
        close();
        onOk();
    });
}

int KeyWindow::indexOf(const OMBData& song) {
    return kCMajor + song.keySignatureSum();
}

void KeyWindow::showSongKey() {
    keys_->setCurrentIndex(indexOf(song_));
    update();
}

void KeyWindow::apply(int index) {
    auto step = std::make_unique<UndoStep>("Key Signature", UndoStep::kNowhere);
    setKeySignature(song_, index - kCMajor, step.get());
    history_.record(std::move(step));
    update();
}

void KeyWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    for (int slot = 0; slot < 7; ++slot) {
        const int sign = song_.keySignature[slot];
        if (sign != 0) {
            const geo::KeyGlyphPlace place =
                sign > 0 ? geo::kSharpPlaces[slot] : geo::kFlatPlaces[slot];
            painter.drawImage(place.x, place.y + 10,
                              glyphs_.stamp(sign > 0 ? glyph::kSharp : glyph::kFlat, false));
        }
    }
    painter.drawLine(geo::kSystemLineX, 50, geo::kSystemLineX, 189);
    painter.drawLine(kStaffRight, 50, kStaffRight, 190);
    for (const auto& lines : {geo::kTrebleLines, geo::kBassLines}) {
        for (const int y : lines) {
            painter.drawLine(geo::kSystemLineX, y, kStaffRight - 1, y);
        }
    }
    painter.drawImage(geo::kTrebleClefX, geo::kTrebleClefY, glyphs_.stamp(glyph::kTreble, false));
    painter.drawImage(geo::kTrebleClefX, geo::kBassClefY, glyphs_.stamp(glyph::kBass, false));
    const QFontMetrics metrics(font());
    painter.drawText(geo::kTimeSignatureX, geo::kNumeratorY + metrics.ascent(),
                     QString::number(song_.timeSignature.beatsPerBar).left(1));
    painter.drawText(geo::kTimeSignatureX, geo::kDenominatorY + metrics.ascent(),
                     QString::number(song_.timeSignature.beatUnit).left(1));
}
