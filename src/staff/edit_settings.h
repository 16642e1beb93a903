#pragma once

// How clicks on the notation enter notes, the same for every open song.
struct EditSettings {
    enum class InputMode { AlignToBeat, Sequential, FreeForm };

    InputMode inputMode = InputMode::AlignToBeat;
    // New notes and rests are one and a half times their value.
    bool dotted = false;
    // 0-based channel of entered notes.
    int entryChannel = 0;
    // The next click pastes the paste buffer where it lands.
    bool pasteWithMouse = false;
};
