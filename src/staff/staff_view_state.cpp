#include "staff/staff_view_state.h"

void StaffViewState::fitToHeight(int clientHeight) {
    const int missing = kPianoRollHeight - 1 - clientHeight;
    pianoRollOffset = missing > 0 ? missing - missing % kKeyRowHeight : 0;
}

bool StaffViewState::showsScrollBar(int clientHeight, bool playActive) const {
    return pianoRoll && !playActive && clientHeight < kPianoRollHeight;
}
