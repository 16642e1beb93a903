#pragma once

#include <QWidget>
#include <functional>

class GlyphSet;
class OMBData;
class QComboBox;
class UndoHistory;

// "Key Signiture": picks one of the fifteen key signatures for a song and shows it on a small
// grand staff. A choice applies to the song at once; OK closes the window and lets the
// song's window repaint. Each choice is a step of the song's history.
class KeyWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kKeyCount = 15;

    // owner: the song's window, which takes this one with it when it closes.
    KeyWindow(QWidget* owner, OMBData& song, UndoHistory& history, const GlyphSet& glyphs,
              std::function<void()> onOk);

    QComboBox& keys() { return *keys_; }
    // Shows the song's key again, after an undo or redo changed it behind the window's back.
    void showSongKey();
    // The list entry of a key signature: 7 is C major, 0 seven flats, 14 seven sharps.
    static int indexOf(const OMBData& song);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void apply(int index);

    OMBData& song_;
    UndoHistory& history_;
    const GlyphSet& glyphs_;
    QComboBox* keys_;
};
