#include "staff/note_editor.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/omb_data.h"
#include "model/undo_history.h"
#include "staff/duration_glyph.h"
#include "staff/edit_settings.h"
#include "staff/notation_canvas.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"
#include "support/scripted_ui.h"

namespace {

// Keeps what the editor asked to draw.
class RecordingCanvas : public NotationCanvas {
public:
    struct Drawn {
        int x;
        int y;
        int glyph;
        int track;
        bool dotted;
    };
    void drawNote(int x, int y, int glyph, int, int, int track, bool dotted) override {
        notes.push_back({x, y, glyph, track, dotted});
    }
    void drawRollNote(int x, int y, int, int, int, int track) override {
        notes.push_back({x, y, -1, track, false});
    }
    void invertRectangle(int, int, int, int) override { ++inversions; }
    void redraw() override { ++redraws; }
    void refreshStatusBar() override {}

    std::vector<Drawn> notes;
    int inversions = 0;
    int redraws = 0;
};

constexpr int kHeight = 400;  // client height: the event strip is at 357..375

class NoteEditorTest : public testing::Test {
protected:
    NoteEditorTest() { settings.inputMode = EditSettings::InputMode::FreeForm; }

    // Clicks at the tick's x, with the head's centre at y (position + 15).
    void click(int tick, int position) { clickAt(page.TickToX(tick), position + 15); }
    void clickAt(int x, int y) { editor.leftButtonDown(x, y, kHeight, false, 3); }
    const Note& note(int index) const { return static_cast<const Note&>(*song.track(0).at(index)); }
    int count() const { return song.track(0).count(); }
    // Four notes a beat apart on positions 50 to 80, and a controller between the first two.
    void addScale() {
        for (int i = 0; i < 4; ++i) {
            song.track(0).add(std::make_unique<Note>(120 * i, 80, 60, 50 + 10 * i, 0, 0));
        }
        song.track(0).add(
            std::make_unique<Event>(60, 0xB0, std::span<const std::uint8_t>{}, 7, 100, 0));
    }
    void dragBand(int fromX, int fromY, int toX, int toY) {
        clickAt(fromX, fromY);
        editor.mouseMove(toX, toY);
        editor.leftButtonUp(toX, toY);
    }

    SongTiming timing;
    OMBData song{timing};
    StaffPage page{song, 4};
    StaffViewState view;
    EditSettings settings;
    Track pasteBuffer{-1};
    ScriptedUi ui;
    RecordingCanvas canvas;
    UndoHistory history{song};
    NoteEditor editor{song, history, page, view, settings, pasteBuffer, ui, canvas};
};

TEST_F(NoteEditorTest, ClickEntersANoteOfTheChosenValueAndASecondClickDeletesIt) {
    click(240, 60);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(note(0).start(), page.XToTick(page.TickToX(240)));
    EXPECT_EQ(note(0).position(), 60);
    EXPECT_EQ(note(0).duration(), 60);  // an eighth at 120 ticks a quarter
    EXPECT_EQ(note(0).velocity(), 80);
    EXPECT_TRUE(song.changed);
    ASSERT_EQ(canvas.notes.size(), 1u);
    EXPECT_EQ(canvas.notes[0].glyph, 3);
    EXPECT_EQ(canvas.notes[0].y, 60);

    song.changed = false;
    click(240, 60);
    EXPECT_EQ(count(), 0);
    EXPECT_TRUE(song.changed);
    EXPECT_EQ(canvas.notes.back().glyph, glyph::kBlank);

    click(480, 100);
    EXPECT_EQ(note(0).position(), 140) << "just below the treble staff is the bass staff";
    song.track(0).clear();
    song.keySignature = {-1, 0, 0, 0, 0, 0, 0};  // F major: B flat
    click(480, 55);                              // B4
    EXPECT_EQ(note(0).accidental(), -1);
}

TEST_F(NoteEditorTest, DrumNotesKeepTheirPositionsSoundWhateverTheKey) {
    song.keySignature = {1, 0, 0, 0, 0, 0, 0};  // G major: F sharp
    settings.entryChannel = 9;                  // MIDI channel 10
    click(0, 70);                               // F4, a drum sound of its own
    EXPECT_EQ(note(0).accidental(), 0);
    EXPECT_EQ(note(0).channel(), 9);
    settings.entryChannel = 10;
    click(240, 70);
    EXPECT_EQ(note(1).accidental(), 1) << "channel 11 plays tunes, in the key";
}

TEST_F(NoteEditorTest, RestsGoMidStaffAndDottedValuesLastOneAndAHalf) {
    view.noteValue = glyph::kWholeRest + 2;
    click(0, 20);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(note(0).position(), 60);
    EXPECT_EQ(note(0).velocity(), Note::kRestVelocity);
    EXPECT_EQ(note(0).duration(), 120);

    view.noteValue = 2;
    settings.dotted = true;
    click(480, 60);
    EXPECT_EQ(note(1).duration(), 180);
    EXPECT_TRUE(canvas.notes.back().dotted);
}

TEST_F(NoteEditorTest, AccidentalMarksTheNoteUnderTheClickOrAsksForOne) {
    click(0, 60);
    view.noteValue = glyph::kSharp;
    click(0, 60);
    EXPECT_EQ(note(0).accidental(), 1);
    EXPECT_EQ(canvas.notes.back().glyph, glyph::kSharp);
    click(240, 60);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Click on a Note"});
    EXPECT_EQ(count(), 1);
}

TEST_F(NoteEditorTest, AlignToBeatAndSequentialInputPlaceTheNote) {
    settings.inputMode = EditSettings::InputMode::AlignToBeat;
    clickAt(page.TickToX(37) + 1, 75);
    EXPECT_EQ(note(0).start(), 30);
    song.track(0).clear();
    song.timeDivision = 100;  // grid 12.5, taken as 12
    clickAt(page.TickToX(37) + 1, 75);
    EXPECT_EQ(note(0).start(), 24);

    // Sequential input follows the last note and turns the page after it.
    song.track(0).clear();
    song.timeDivision = 120;
    settings.inputMode = EditSettings::InputMode::Sequential;
    page.setFirstBar(3);
    clickAt(300, 75);
    EXPECT_EQ(note(0).start(), 0) << "an empty track starts at 0 on bar 1";
    EXPECT_EQ(page.firstBar(), 1);
    clickAt(500, 65);
    EXPECT_EQ(note(1).start(), 60);
    song.track(0).add(std::make_unique<Note>(1900, 80, 60, 70, 0, 0));
    clickAt(300, 75);
    EXPECT_EQ(note(3).start(), 1960);
    EXPECT_EQ(page.firstBar(), 5);

    // A note ending right at the page's end: the next one opens the next page.
    song.track(0).clear();
    page.setFirstBar(1);
    song.track(0).add(std::make_unique<Note>(1860, 80, 60, 70, 0, 0));
    clickAt(300, 75);
    EXPECT_EQ(note(1).start(), 1920);
    EXPECT_EQ(page.firstBar(), 5);
    song.track(0).clear();
    page.setFirstBar(1);
    song.track(0).add(std::make_unique<Note>(1859, 80, 60, 70, 0, 0));
    clickAt(300, 75);
    EXPECT_EQ(page.firstBar(), 1) << "a note that still starts on the page stays";
}

TEST_F(NoteEditorTest, ClicksWhilePlayingInTheEventStripOrRightAwayFromANoteEnterNothing) {
    editor.leftButtonDown(300, 75, kHeight, true, 3);
    EXPECT_EQ(ui.notices, std::vector<std::string>{"In Play - Press Stop to access controls"});
    editor.rightButtonDown(300, 75, kHeight, false);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Note at that location"});
    clickAt(300, kHeight - 30);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(canvas.redraws, 1);
}

TEST_F(NoteEditorTest, RubberBandSelectsTheNotesItCoversForCut) {
    addScale();
    EXPECT_FALSE(editor.selectedTicks()) << "nothing was selected yet";
    editor.beginSelection();
    dragBand(page.TickToX(0), 50, page.TickToX(230), 85);
    ASSERT_TRUE(editor.selectedTicks());
    EXPECT_EQ(editor.selectedTicks()->first, page.XToTick(page.TickToX(0)));
    EXPECT_EQ(editor.selectedTicks()->second, page.XToTick(page.TickToX(230)));
    EXPECT_EQ(canvas.inversions, 2) << "the move erases the empty band and draws the new one; "
                                       "the release leaves it on the page";
    EXPECT_FALSE(editor.rubberBand().armed());
    EXPECT_EQ(editor.cutCopy(false), 3);  // two notes and the event
    // Dragged up and left, and in the piano roll by roll rows (positions 50, 60 and 70 have
    // their tops at 155, 173 and 191), the band selects the same.
    editor.beginSelection();
    dragBand(page.TickToX(230), 85, page.TickToX(0), 50);
    EXPECT_EQ(editor.cutCopy(false), 3);
    view.pianoRoll = true;
    editor.beginSelection();
    dragBand(page.TickToX(0), 160, page.TickToX(230), 190);
    EXPECT_EQ(editor.cutCopy(true), 3);
    EXPECT_EQ(count(), 2);

    editor.paste(0, 0);
    EXPECT_EQ(count(), 5);
    EXPECT_EQ(note(0).start(), 0);
    EXPECT_EQ(ui.notices.back(), "3 items pasted to beat 0:0             ");
    editor.selectEntireTrack();
    EXPECT_FALSE(editor.selectedTicks()) << "the whole track has no edges";
}

TEST_F(NoteEditorTest, PasteWithTheMouseLandsOnTheFifteenPixelGrid) {
    addScale();
    editor.selectEntireTrack();
    EXPECT_EQ(editor.cutCopy(false), 5);
    settings.pasteWithMouse = true;
    clickAt(page.TickToX(960) + 3, 200);
    EXPECT_FALSE(settings.pasteWithMouse);
    EXPECT_EQ(count(), 10);
    const int pasteTick = page.XToTick((page.TickToX(960) + 3) / 15 * 15);
    EXPECT_EQ(song.track(0).at(count() - 1)->time(), pasteTick + 360);
}

TEST_F(NoteEditorTest, SetFirstNoteAndDeleteCurrentTrackChangeTheSongAndRedraw) {
    view.currentTrack = 2;
    song.track(1).add(std::make_unique<Note>(480, 80, 60, 60, 0, 0));
    song.track(2).add(std::make_unique<Note>(480, 80, 60, 60, 0, 0));
    editor.setFirstNote(240);
    EXPECT_EQ(song.track(1).at(0)->time(), 240);
    EXPECT_EQ(canvas.redraws, 1);
    EXPECT_EQ(ui.notices.back(), "First Note Set");
    editor.deleteCurrentTrack();
    EXPECT_TRUE(song.track(2).empty());
    EXPECT_EQ(song.track(1).count(), 1);
    EXPECT_EQ(canvas.redraws, 2);
}

TEST_F(NoteEditorTest, RollClickEntersANoteOnTheRowUnderItAndDeletesASoundingOne) {
    view.pianoRoll = true;
    view.noteValue = glyph::kWholeRest;  // rests become eighths in the roll
    editor.leftButtonDown(page.TickToX(120), 221, kHeight, false, 2);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(note(0).position(), 85);
    EXPECT_EQ(note(0).duration(), 60);
    EXPECT_EQ(view.noteValue, 3);
    editor.leftButtonDown(page.TickToX(150), 221, kHeight, false, 2);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(canvas.notes.back().track, -1);
}

}  // namespace
