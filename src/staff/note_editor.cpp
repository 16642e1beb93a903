#include "staff/note_editor.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "model/beat_division.h"
#include "model/cut_copy_paste.h"
#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/track_splice.h"
#include "model/undo_history.h"
#include "model/undo_step.h"
#include "platform/ui.h"
#include "platform/wait_cursor.h"
#include "staff/duration_glyph.h"
#include "staff/edit_settings.h"
#include "staff/notation_canvas.h"
#include "staff/staff_geometry.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

namespace geo = staff_geometry;

namespace {

// Accidental notes are hit a little left of their head, where the sign is drawn.
constexpr int kHitWidth = 14;
// Pasting with the mouse lands on a 15-pixel grid, one glyph wide.
constexpr int kPasteGrid = 15;

}  // namespace

NoteEditor::NoteEditor(OMBData& song, UndoHistory& history, StaffPage& page, StaffViewState& view,
                       EditSettings& settings, Track& pasteBuffer, Ui& ui, NotationCanvas& canvas)
    : song_(song),
      history_(history),
      page_(page),
      view_(view),
      settings_(settings),
      pasteBuffer_(pasteBuffer),
      ui_(ui),
      canvas_(canvas) {}

int NoteEditor::hitNote(int x, int position) const {
    // The window includes the tick under the click itself, so that a second click where a
    // note was just entered (at that very tick) finds it.
    return track().findNoteInWindow(page_.XToTick(x) + 1, page_.XToTick(x - kHitWidth), position);
}

Track& NoteEditor::track() const {
    return song_.track(view_.currentTrack);
}

void NoteEditor::recordSplice(const char* name, int tick, int index, int takenIndex,
                              std::unique_ptr<Element> taken) {
    auto splice = std::make_unique<TrackSplice>(view_.currentTrack);
    if (taken) {
        splice->taken(takenIndex, std::move(taken));
    }
    if (index >= 0) {
        splice->put(index);
    }
    auto step = std::make_unique<UndoStep>(name, tick);
    step->add(std::move(splice));
    history_.record(std::move(step));
}

bool NoteEditor::refusedInPlay(bool playActive) const {
    if (playActive) {
        ui_.notice("In Play - Press Stop to access controls");
    }
    return playActive;
}

bool NoteEditor::inEventStrip(int y, int clientHeight) const {
    return y > geo::eventStripTop(clientHeight) && y <= geo::eventStripBottom(clientHeight);
}

void NoteEditor::leftButtonDown(int x, int y, int clientHeight, bool playActive, int noteButton) {
    if (refusedInPlay(playActive)) {
        return;
    }
    if (inEventStrip(y, clientHeight)) {
        canvas_.openEventList();
        canvas_.redraw();
        return;
    }
    if (band_.armed()) {
        band_.press(x, y);
        return;
    }
    if (settings_.pasteWithMouse) {
        paste(-1, x);
        return;
    }
    if (view_.pianoRoll) {
        rollClick(x, y, noteButton);
    } else {
        staffClick(x, y, clientHeight);
    }
}

void NoteEditor::staffClick(int x, int y, int) {
    int position = (y - 13) / 5 * 5;
    if (y >= geo::kLowestClickY || x < StaffPage::kPageLeft) {
        return;
    }
    const int value = view_.noteValue;
    if (glyph::isRest(value)) {
        position = geo::kRestPosition;
    }
    Track& notes = track();
    const int hit = hitNote(x, position);
    if (hit >= 0) {
        std::unique_ptr<Element> note = notes.removeAt(hit);
        const int start = note->time();
        const int noteX = page_.TickToX(start);
        if (glyph::isAccidental(value)) {
            static constexpr int kAccidentals[] = {1, -1, 2};
            std::unique_ptr<Element> altered = note->copy();
            static_cast<Note&>(*altered).setAccidental(kAccidentals[value - glyph::kSharp]);
            canvas_.drawNote(noteX - 9, altered->secondKey() + 9, value, 0, 0, view_.currentTrack,
                             false);
            // The accidental is part of the sort key: the note goes back in its place.
            const int index = notes.add(std::move(altered));
            song_.changed = true;
            recordSplice("Accidental", start, index, hit, std::move(note));
        } else {
            canvas_.drawNote(noteX, position, glyph::kBlank, 0, 0, view_.currentTrack, false);
            canvas_.drawNote(noteX - 8, position, glyph::kBlank, 0, 0, view_.currentTrack, false);
            song_.changed = true;
            recordSplice("Note Deletion", start, -1, hit, std::move(note));
        }
        return;
    }
    if (glyph::isAccidental(value)) {
        ui_.errorBox("Click on a Note");
        return;
    }

    const int start = entryTick(x, false);
    const int duration = entryDuration();
    const int velocity =
        glyph::isRest(value) ? Note::kRestVelocity : song_.timing().defaultVelocity;
    // A drum note's position picks a sound, which the key must not shift to another one.
    const int accidental = settings_.entryChannel == kDrumChannel
                               ? 0
                               : accidentalFromKeySignature(position, song_.keySignature);
    // Clicks between the staves belong to the bass staff, whose positions lie 40 lower.
    if (position > 85 && position < 130) {
        position += 40;
    }
    const int index =
        notes.add(std::make_unique<Note>(start, velocity, duration, position, accidental,
                                         static_cast<std::uint8_t>(settings_.entryChannel)));
    song_.changed = true;
    recordSplice(glyph::isRest(value) ? "Rest Entry" : "Note Entry", start, index);
    canvas_.drawNote(page_.TickToX(start), position, value, 0, velocity, view_.currentTrack,
                     settings_.dotted);
}

void NoteEditor::rollClick(int x, int y, int noteButton) {
    const geo::RollPitch pitch = geo::rollPitchAt(y, view_.rollShift());
    if (y >= geo::kLowestRollClickY || x < StaffPage::kPageLeft) {
        return;
    }
    if (glyph::isRest(view_.noteValue)) {
        view_.noteValue = StaffViewState::kEighthNote;
    } else if (glyph::isAccidental(view_.noteValue)) {
        view_.noteValue = noteButton;
    }
    Track& notes = track();
    const int hit = notes.findSoundingNote(page_.XToTick(x), pitch.position);
    if (hit >= 0) {
        const auto& note = static_cast<const Note&>(*notes.at(hit));
        canvas_.drawRollNote(page_.TickToX(note.start()), note.position(), note.duration(),
                             note.accidental(), note.velocity(), -1);
        const int start = note.start();
        song_.changed = true;
        recordSplice("Note Deletion", start, -1, hit, notes.removeAt(hit));
        return;
    }
    const int start = entryTick(x, true);
    const int duration = entryDuration();
    const int velocity = song_.timing().defaultVelocity;
    const int index = notes.add(
        std::make_unique<Note>(start, velocity, duration, pitch.position, pitch.accidental,
                               static_cast<std::uint8_t>(settings_.entryChannel)));
    song_.changed = true;
    recordSplice("Note Entry", start, index);
    canvas_.drawRollNote(page_.TickToX(start), pitch.position, duration, pitch.accidental, velocity,
                         view_.currentTrack);
}

int NoteEditor::entryTick(int x, bool lastNoteOnly) {
    const int division = song_.timeDivision;
    switch (settings_.inputMode) {
        case EditSettings::InputMode::FreeForm:
            return page_.XToTick(x);
        case EditSettings::InputMode::AlignToBeat: {
            // Back to the thirty-second-note grid.
            const double grid = division * 0.125;
            return grid > 0 ? static_cast<int>(page_.XToTick(x) / grid) * static_cast<int>(grid)
                            : page_.XToTick(x);
        }
        case EditSettings::InputMode::Sequential:
            break;
    }
    const Track& notes = track();
    int last = notes.count() - 1;
    while (lastNoteOnly && last >= 0 && !notes.at(last)->isNote()) {
        --last;
    }
    if (last < 0) {
        if (!lastNoteOnly && page_.firstBar() > 1) {
            page_.setFirstBar(1);
            canvas_.redraw();
        }
        return 0;
    }
    const Element& element = *notes.at(last);
    const int start = element.isNote() ? static_cast<const Note&>(element).start() +
                                             static_cast<const Note&>(element).duration()
                                       : element.time();
    // The note would fall after the page: the page moves on to show it.
    const long long pageEnd =
        static_cast<long long>(page_.ticksPerBar()) * (page_.barsPerPage() + page_.firstBar() - 1);
    if (page_.ticksPerBar() > 0 && pageEnd <= start) {
        page_.setFirstBar(page_.firstBar() + page_.barsPerPage());
        canvas_.redraw();
        canvas_.refreshStatusBar();
    }
    return start;
}

int NoteEditor::entryDuration() const {
    const int duration = noteValueDuration(view_.noteValue, song_.timeDivision);
    return settings_.dotted ? static_cast<int>(duration * 1.5) : duration;
}

void NoteEditor::rightButtonDown(int x, int y, int clientHeight, bool playActive) {
    if (refusedInPlay(playActive)) {
        return;
    }
    if (inEventStrip(y, clientHeight)) {
        canvas_.openEventList();
        canvas_.redraw();
        return;
    }
    int hit = -1;
    if (view_.pianoRoll) {
        hit = track().findSoundingNote(page_.XToTick(x),
                                       geo::rollPitchAt(y, view_.rollShift()).position);
    } else {
        const int position = glyph::isRest(view_.noteValue) ? geo::kRestPosition : (y - 13) / 5 * 5;
        hit = hitNote(x, position);
    }
    if (hit < 0) {
        ui_.errorBox("No Note at that location");
        return;
    }
    canvas_.openNoteDetail(hit);
    canvas_.redraw();
}

void NoteEditor::openEventList(bool playActive) {
    if (refusedInPlay(playActive)) {
        return;
    }
    canvas_.openEventList();
    canvas_.redraw();
}

void NoteEditor::openNoteDetail(bool playActive) {
    if (refusedInPlay(playActive)) {
        return;
    }
    const Track& notes = track();
    const double pageEndTick = page_.pageStartTick() + page_.ticksPerPage();
    int hit = -1;
    const int first = notes.firstAtOrAfter(page_.pageStartTick());
    for (int i = first; i >= 0 && i < notes.count() && notes.at(i)->time() < pageEndTick; ++i) {
        if (notes.at(i)->isNote()) {
            hit = i;
            break;
        }
    }
    if (hit < 0) {
        ui_.errorBox("No Note on this page");
        return;
    }
    canvas_.openNoteDetail(hit);
    canvas_.redraw();
}

void NoteEditor::mouseMove(int x, int y) {
    if (!band_.dragging()) {
        return;
    }
    invertBand();
    band_.dragTo(x, y);
    invertBand();
}

void NoteEditor::leftButtonUp(int x, int y) {
    if (!band_.dragging()) {
        return;
    }
    // The band stays on the page as the user's mark of the selection until the next redraw.
    band_.release(x, y, StaffPage::kPageLeft);
    selectionStartTick_ = page_.XToTick(band_.rect().left);
    selectionEndTick_ = page_.XToTick(band_.rect().right);
}

std::optional<std::pair<int, int>> NoteEditor::selectedTicks() const {
    if (selectionEndTick_ <= selectionStartTick_) {
        return std::nullopt;
    }
    return std::pair{selectionStartTick_, selectionEndTick_};
}

void NoteEditor::invertBand() {
    const RubberBand::Rect& rect = band_.rect();
    canvas_.invertRectangle(rect.left, rect.top, rect.right, rect.bottom);
}

void NoteEditor::beginSelection() {
    pasteBuffer_.clear();
    band_.arm();
}

void NoteEditor::selectEntireTrack() {
    pasteBuffer_.clear();
    band_.coverEveryRow();
    selectionStartTick_ = 0;
    selectionEndTick_ = 0;
}

int NoteEditor::cutCopy(bool cut) {
    const WaitCursor waitCursor(ui_);
    const ElementSelection selection{
        // A little before the band's left edge, so that a note drawn right at it is taken.
        .fromTick = selectionStartTick_ - 2,
        .throughTick = selectionEndTick_,
        // A note is taken when the band covers the row 10 pixels below the top of its glyph
        // (the glyph's middle) or of its roll bar.
        .takesNote =
            [this](const Note& note) {
                const int top =
                    view_.pianoRoll ? geo::rollNoteTop(note.position(), 0) : note.position();
                return band_.coversRow(top + 10);
            },
    };
    auto step = std::make_unique<UndoStep>("Cut", std::max(selectionStartTick_, 0));
    const bool found =
        copySelection(song_, view_.currentTrack, selection, cut, pasteBuffer_, step.get());
    history_.record(std::move(step));
    canvas_.redraw();
    return found ? pasteBuffer_.count() : 0;
}

void NoteEditor::paste(int tick, int cursorX) {
    const WaitCursor waitCursor(ui_);
    if (tick < 0) {
        tick = page_.XToTick(std::max(StaffPage::kPageLeft, cursorX / kPasteGrid * kPasteGrid));
    }
    const Track& notes = track();
    int offset = 0;
    if (settings_.inputMode == EditSettings::InputMode::Sequential) {
        offset = notes.empty() ? 0 : notes.at(notes.count() - 1)->time();
    } else if (!pasteBuffer_.empty()) {
        offset = tick - pasteBuffer_.at(0)->time();
    }
    // Where the first element lands: in sequential input that is not the tick asked for.
    const long long landed =
        pasteBuffer_.empty() ? tick : static_cast<long long>(pasteBuffer_.at(0)->time()) + offset;
    auto step = std::make_unique<UndoStep>(
        "Paste", static_cast<int>(std::clamp<long long>(landed, 0, INT_MAX)));
    pasteElements(song_, view_.currentTrack, pasteBuffer_, offset, step.get());
    history_.record(std::move(step));
    settings_.pasteWithMouse = false;
    canvas_.redraw();
    const TimeSignature& timing = song_.timeSignature;
    ui_.notice(std::to_string(pasteBuffer_.count()) + " items pasted to beat " +
               formatBeatDivision(static_cast<std::uint32_t>(std::max(tick, 0)), timing.beatsPerBar,
                                  song_.timeDivision) +
               "             ");
}

void NoteEditor::setFirstNote(int tick) {
    const WaitCursor waitCursor(ui_);
    auto step = std::make_unique<UndoStep>("Set First Note", tick);
    setFirstNoteTime(song_, tick, step.get());
    history_.record(std::move(step));
    canvas_.redraw();
    ui_.notice("First Note Set");
}

void NoteEditor::deleteCurrentTrack() {
    auto step = std::make_unique<UndoStep>("Delete Current Track", UndoStep::kNowhere);
    deleteTrack(song_, view_.currentTrack, step.get());
    history_.record(std::move(step));
    canvas_.redraw();
    canvas_.refreshStatusBar();
}

bool NoteEditor::undo() {
    const UndoStep* step = history_.undo();
    if (step != nullptr) {
        showChangeAt(step->tick());
    }
    return step != nullptr;
}

bool NoteEditor::redo() {
    const UndoStep* step = history_.redo();
    if (step != nullptr) {
        showChangeAt(step->tick());
    }
    return step != nullptr;
}

void NoteEditor::showChangeAt(int tick) {
    if (tick != UndoStep::kNowhere) {
        page_.bringIntoView(tick);
    }
    canvas_.redraw();
    canvas_.refreshStatusBar();
}
