#pragma once

#include <QMdiSubWindow>
#include <string>

#include "notation/glyph_set.h"
#include "playback/play_view.h"
#include "staff/notation_canvas.h"
#include "staff/note_editor.h"

#include "app/record_target.h"
#include "app/song_document.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

class Application;
class QPainter;
class QScrollBar;
class StaffPainter;
class StaffSurface;
class StaffWindowHost;
class StatusBar;

// The document window: one song, shown a page of bars at a time as staff notation or as a
// piano roll, with its own status bar. It lives in the main window's frame; the main window
// keeps the list of them and which one is current.
class StaffWindow : public QMdiSubWindow, public NotationCanvas, public RecordTarget {
    Q_OBJECT

public:
    // The window class name, under which its place is stored.
    static constexpr const char* kPlacementName = "Staff";

    // A window on an empty song named fileName. Reads the bars per page, the view and the
    // maximised setting; the window is not shown until placeAndShow.
    StaffWindow(Application& app, StaffWindowHost& host, std::string fileName);

    SongDocument& document() { return document_; }
    const SongDocument& document() const { return document_; }
    StaffPage& page() { return page_; }
    StaffViewState& view() { return view_; }
    StatusBar& statusBar() { return *statusBar_; }
    StaffSurface& surface() { return *surface_; }
    QScrollBar& rollScrollBar() { return *rollScrollBar_; }
    NoteEditor& editor() { return editor_; }
    const GlyphSet& glyphs() const { return glyphs_; }

    // Places the window at its stored place, cascaded by 22 pixels for each earlier window
    // (the window is the count-th open one), cut to the frame's client size; then shows it,
    // maximised when the setting says so.
    void placeAndShow(int count, QSize frameClient);

    // Paints the whole page again from the song.
    void Redraw();
    void RefreshStatusBar();
    // The title follows the file name.
    void refreshTitle();
    void SetPianoRoll(bool on);
    void nextPage();
    void previousPage();
    // Turns the page when tick has left the visible bars while playing.
    void TurnPageTo(int tick);
    // The program is quitting and has asked about every song already: close without asking.
    void closeWithoutAsking();

    void drawNote(int x, int y, int glyph, int accidental, int velocity, int track,
                  bool dotted) override;
    void drawRollNote(int x, int y, int duration, int accidental, int velocity, int track) override;
    void invertRectangle(int left, int top, int right, int bottom) override;
    void redraw() override { Redraw(); }
    void refreshStatusBar() override { RefreshStatusBar(); }
    // "Events" on a click in the event strip, "Track Detail" from the Options menu: what they
    // change is one step of the song's history.
    void openEventList() override { runEventList(false); }
    void openTrackDetail() { runEventList(true); }
    void openNoteDetail(int index) override;

    // While playing: the page follows the music and each note lights up as it sounds.
    void turnPageTo(int tick) override { TurnPageTo(tick); }
    void drawHighlight(const Note& note, int track) override;
    void tempoChanged() override;

    // Lays the page out for the window's size and view, and shows or hides the piano roll's
    // scroll bar for the height and the play state.
    void fitToSize();

    OMBData& playedSong() override { return document_.song; }
    StaffPage& playedPage() override { return page_; }
    int soloTrack() const override { return view_.playSolo ? view_.currentTrack : -1; }
    void playStateChanged() override {
        fitToSize();
        Redraw();
    }
    void repaintPage() override { Redraw(); }
    int currentTrack() const override { return view_.currentTrack; }
    UndoHistory& history() override { return document_.history; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void mousePressed(Qt::MouseButton button, QPoint position);
    void runEventList(bool trackDetail);
    // A painter for the surface's image that draws with painter.
    StaffPainter staffPainter(QPainter& painter);

    Application& app_;
    StaffWindowHost& host_;
    SongDocument document_;
    StaffPage page_;
    StaffViewState view_;
    GlyphSet glyphs_;
    NoteEditor editor_;
    StaffSurface* surface_;
    QScrollBar* rollScrollBar_;
    StatusBar* statusBar_;
    bool askBeforeClosing_ = true;
};
