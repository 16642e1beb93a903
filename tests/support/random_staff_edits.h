#pragma once

#include <random>

#include "staff/note_editor.h"
#include "staff/staff_view_state.h"

// Edits of a song made at random as the staff window makes them, for the property tests: a
// click with a note or rest value on the staff or the piano roll, a selection cut or copied, a
// paste, Set First Note.
class RandomStaffEdits {
public:
    RandomStaffEdits(NoteEditor& editor, StaffViewState& view, std::mt19937& random)
        : editor_(editor), view_(view), random_(random) {}

    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    void click(int x, int y) { editor_.leftButtonDown(x, y, 400, false, 2); }

    void enterOnTheStaff() {
        view_.noteValue = between(0, 11);
        click(between(70, 600), between(13, 300));
    }
    void enterOnThePianoRoll() {
        view_.pianoRoll = true;
        view_.noteValue = between(0, 5);
        click(between(70, 600), between(2, 530));
        view_.pianoRoll = false;
    }
    void cutOrCopy() {
        if (between(0, 1) == 0) {
            editor_.selectEntireTrack();
        } else {
            editor_.beginSelection();
            click(between(70, 300), between(0, 150));
            editor_.leftButtonUp(between(300, 620), between(150, 320));
        }
        editor_.cutCopy(between(0, 2) != 0);
    }
    void paste() { editor_.paste(between(0, 2000), 0); }
    void setFirstNote() { editor_.setFirstNote(between(0, 600)); }

private:
    NoteEditor& editor_;
    StaffViewState& view_;
    std::mt19937& random_;
};
