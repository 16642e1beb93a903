#pragma once

#include <memory>
#include <optional>
#include <utility>

#include "model/element.h"
#include "staff/rubber_band.h"

class NotationCanvas;
class OMBData;
class StaffPage;
class Track;
class Ui;
class UndoHistory;
struct EditSettings;
struct StaffViewState;

// The mouse editing of a staff window's current track: entering and deleting notes and rests,
// accidentals, and the rubber band that selects notes; and the edit commands that act on
// the window's song (cut, copy, paste, Set First Note, Delete Current Track), which change the
// song through the model's edits. Each change of the song is recorded in its history as one
// step. The drawing goes to the canvas; messages to the Ui.
class NoteEditor {
public:
    NoteEditor(OMBData& song, UndoHistory& history, StaffPage& page, StaffViewState& view,
               EditSettings& settings, Track& pasteBuffer, Ui& ui, NotationCanvas& canvas);

    // A click at (x, y) in a client area clientHeight pixels high. playActive refuses it.
    // noteButton is the toolbar's note value, which the piano roll enters when an accidental
    // or a rest is chosen.
    void leftButtonDown(int x, int y, int clientHeight, bool playActive, int noteButton);
    void rightButtonDown(int x, int y, int clientHeight, bool playActive);
    // The menu's ways to what a right click opens: the event list of the page, and the note
    // detail of the current track's first note on the page ("No Note on this page" when it
    // has none). playActive refuses both.
    void openEventList(bool playActive);
    void openNoteDetail(bool playActive);
    void mouseMove(int x, int y);
    void leftButtonUp(int x, int y);

    // The next drag selects; the paste buffer is emptied.
    void beginSelection();
    // Every element of the track is selected; the paste buffer is emptied.
    void selectEntireTrack();
    // Copies (and with cut removes) the selected elements into the paste buffer. Returns the
    // number of elements the buffer holds, or 0 when no element starts at or after the
    // selection.
    int cutCopy(bool cut);
    // Pastes the buffer at tick; a negative tick takes the beat under cursorX.
    void paste(int tick, int cursorX);
    // Moves every element of the song so the first note starts at tick.
    void setFirstNote(int tick);
    void deleteCurrentTrack();
    // Undo or redo of the song's last or next step: the page moves to the change when it lies
    // off the page, and the page and status bar are drawn again. False when there was no step.
    bool undo();
    bool redo();

    const RubberBand& rubberBand() const { return band_; }
    // The ticks under the band's edges when a drag last selected; none before any, and none
    // after Select Entire Track, which has no edges.
    std::optional<std::pair<int, int>> selectedTicks() const;

private:
    void staffClick(int x, int y, int clientHeight);
    void rollClick(int x, int y, int noteButton);
    // Where a new note starts; may turn the page for sequential input.
    int entryTick(int x, bool lastNoteOnly);
    // The duration of a new note of the window's note value, dotted when asked.
    int entryDuration() const;
    bool refusedInPlay(bool playActive) const;
    // The note of the current track whose glyph covers x at the position, or -1.
    int hitNote(int x, int position) const;
    bool inEventStrip(int y, int clientHeight) const;
    // Draws the band's rectangle, or takes it away when it shows.
    void invertBand();
    Track& track() const;
    // Records that the element now at index of the current track was put there, and that
    // taken (when given) was at takenIndex before.
    void recordSplice(const char* name, int tick, int index, int takenIndex = -1,
                      std::unique_ptr<Element> taken = nullptr);
    void showChangeAt(int tick);

    OMBData& song_;
    UndoHistory& history_;
    StaffPage& page_;
    StaffViewState& view_;
    EditSettings& settings_;
    Track& pasteBuffer_;
    Ui& ui_;
    NotationCanvas& canvas_;
    RubberBand band_;
    // The ticks under the band's left and right edges when it was released; an end of 0
    // reaches the end of the track.
    int selectionStartTick_ = 0;
    int selectionEndTick_ = 0;
};
