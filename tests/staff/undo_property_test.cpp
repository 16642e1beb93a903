// Random edits of every kind, made the way the staff window makes them, then undone one by
// one: each undo gives back the song's earlier state and the last undo its first, compared as
// the bytes the writer encodes; redone, the song comes back to its last state.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/key_signature_change.h"
#include "model/omb_data.h"
#include "model/song_values.h"
#include "model/undo_history.h"
#include "platform/null_ui.h"
#include "smf/song_encoder.h"
#include "staff/duration_glyph.h"
#include "staff/edit_settings.h"
#include "staff/note_editor.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"
#include "support/no_canvas.h"
#include "support/random_staff_edits.h"

namespace {

// What the writer would write for the song, with the values a file does not hold. The writer
// adds missing defaults to track 0, so it encodes a copy.
std::vector<std::uint8_t> songBytes(const OMBData& song) {
    SongTiming timing = song.timing();
    OMBData copy(timing);
    copy.timeDivision = song.timeDivision;
    copy.keySignature = song.keySignature;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        std::vector<AbstractArray::Placed> elements;
        for (int i = 0; i < song.track(t).count(); ++i) {
            elements.push_back({i, song.track(t).at(i)->copy()});
        }
        copy.track(t).placeEach(elements);
    }
    NullUi ui;
    std::vector<std::uint8_t> bytes;
    SongEncoder(copy, "", ui).encode([&bytes](int track, std::span<const std::uint8_t> stream) {
        bytes.push_back(static_cast<std::uint8_t>(track));  // keeps the tracks apart
        bytes.insert(bytes.end(), stream.begin(), stream.end());
        return true;
    });
    const std::string values = song.title() + "|" + song.author() + "|" +
                               std::to_string(song.timeDivision) + "|" +
                               std::to_string(song.timeSignature.beatsPerBar) + "/" +
                               std::to_string(song.timeSignature.beatUnit);
    bytes.insert(bytes.end(), values.begin(), values.end());
    for (const int program : song.program) {
        bytes.push_back(static_cast<std::uint8_t>(program));
    }
    return bytes;
}

class UndoPropertyTest : public testing::TestWithParam<unsigned> {
protected:
    UndoPropertyTest() : random(GetParam()) {
        settings.inputMode = EditSettings::InputMode::FreeForm;
        Track& first = song.track(0);
        first.add(std::make_unique<Event>(0, Event::kStatusMeta, std::span<const std::uint8_t>{},
                                          Event::kMetaKeySignature, 1, 0));
        first.add(std::make_unique<Event>(0, Event::kStatusMeta, std::span<const std::uint8_t>{},
                                          Event::kMetaTempo, 100, 0));
        for (int i = 0; i < 12; ++i) {
            song.track(i % 3).add(std::make_unique<Note>(i * 60, 70, 60, 40 + i * 5, 0, 0));
        }
        song.track(1).add(
            std::make_unique<Event>(90, 0xB0, std::span<const std::uint8_t>{}, 7, 90, 0));
        song.program = {3, 4, 5, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    }

    int between(int low, int high) { return staffEdits.between(low, high); }

    // One edit of a kind picked at random, as the user makes it.
    void randomEdit() {
        view.currentTrack = between(0, 3);
        page.setFirstBar(between(1, 3));
        switch (between(0, 11)) {
            case 0:
            case 1:
            case 2:
                staffEdits.enterOnTheStaff();
                break;
            case 3:
                staffEdits.enterOnThePianoRoll();
                break;
            case 4:
                clickANote(between(12, 14));
                break;
            case 5:
                staffEdits.cutOrCopy();
                break;
            case 6:
                staffEdits.paste();
                break;
            case 7:
                staffEdits.setFirstNote();
                break;
            case 8:
                editor.deleteCurrentTrack();
                break;
            case 9:
                chooseKey(between(-7, 7));
                break;
            case 10:
                changeValues();
                break;
            default:
                clickANote(between(0, 11));
                break;
        }
    }
    // A click where a note of the current track shows: a sharp, flat or natural applies to
    // it, a note or rest value deletes it.
    void clickANote(int value) {
        const Track& notes = song.track(view.currentTrack);
        if (notes.empty()) {
            return;
        }
        const Element& element = *notes.at(between(0, notes.count() - 1));
        if (element.isNote() && (element.secondKey() == 60 || !glyph::isRest(value))) {
            page.bringIntoView(element.time());
            view.noteValue = value;
            staffEdits.click(page.TickToX(element.time()) + 1, element.secondKey() + 15);
        }
    }
    // What the key window does with a choice.
    void chooseKey(int sharps) {
        auto change = std::make_unique<KeySignatureChange>(song, sharps);
        change->choose(song);
        auto step = std::make_unique<UndoStep>("Key Signature", UndoStep::kNowhere);
        step->add(std::move(change));
        history.record(std::move(step));
    }
    // What the time signature, time division and title dialogs do on OK.
    void changeValues() {
        const SongValues before = SongValues::of(song);
        song.timeSignature = {between(2, 6), between(0, 1) == 0 ? 4 : 8};
        song.timeDivision = 48 + 24 * between(0, 30);
        song.setTitle("Take " + std::to_string(between(1, 9)));
        auto step = std::make_unique<UndoStep>("Time Division", UndoStep::kNowhere);
        step->add(std::make_unique<SongValuesChange>(before, song));
        history.record(std::move(step));
    }

    std::mt19937 random;
    SongTiming timing;
    OMBData song{timing};
    UndoHistory history{song};
    StaffPage page{song, 4};
    StaffViewState view;
    EditSettings settings;
    Track pasteBuffer{-1};
    NullUi ui;
    NoCanvas canvas;
    NoteEditor editor{song, history, page, view, settings, pasteBuffer, ui, canvas};
    RandomStaffEdits staffEdits{editor, view, random};
};

TEST_P(UndoPropertyTest, RandomEditsUndoneGiveBackEveryStateAndRedoneTheLast) {
    // states[k]: the song with k steps standing.
    std::vector<std::vector<std::uint8_t>> states{songBytes(song)};
    for (int edit = 0; edit < 300; ++edit) {
        if (between(0, 9) == 0 && history.canUndo()) {
            editor.undo();
            states.pop_back();
            ASSERT_EQ(songBytes(song), states.back()) << "undo in the middle, edit " << edit;
            if (between(0, 1) == 0) {
                editor.redo();
                states.push_back(songBytes(song));
            }
            continue;
        }
        const std::size_t before = history.undoCount();
        randomEdit();
        if (history.undoCount() > before) {
            states.resize(before + 1);
            states.push_back(songBytes(song));
        } else {
            ASSERT_EQ(songBytes(song), states.back()) << "a change without a step, edit " << edit;
        }
    }
    editor.deleteCurrentTrack();  // no redo list at the end
    states.push_back(songBytes(song));
    ASSERT_EQ(history.undoCount() + 1, states.size());

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(editor.undo());
        ASSERT_EQ(songBytes(song), states[k - 1]) << "undo back to state " << k - 1;
    }
    EXPECT_FALSE(history.canUndo());
    while (editor.redo()) {
    }
    EXPECT_EQ(songBytes(song), states.back());
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoPropertyTest, testing::Values(1u, 2u, 3u, 17u, 2024u));

}  // namespace
