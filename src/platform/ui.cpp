#include "platform/ui.h"

#include <iterator>

int Ui::errorBox(const std::string& text, std::optional<std::string> caption, unsigned type) {
    if (!caption) {
        return showMessage(text, "Error", (type | MB_ICONHAND) & 0xFFFF);
    }
    return showMessage(text, *caption, type & 0xFFFF);
}

void Ui::busyCursorStep(int phase) {
    static constexpr CursorShape kFrames[] = {CursorShape::Busy1, CursorShape::Busy2,
                                              CursorShape::Busy3};
    if (phase >= 1 && phase <= 3) {
        setCursor(kFrames[phase - 1]);
    }
}

int Ui::defaultAnswer(unsigned type) {
    struct Buttons {
        int answers[3];
        int count;
    };
    static constexpr Buttons kButtons[] = {
        {{IDOK}, 1},                        // MB_OK
        {{IDOK, IDCANCEL}, 2},              // MB_OKCANCEL
        {{IDABORT, IDRETRY, IDIGNORE}, 3},  // MB_ABORTRETRYIGNORE
        {{IDYES, IDNO, IDCANCEL}, 3},       // MB_YESNOCANCEL
        {{IDYES, IDNO}, 2},                 // MB_YESNO
        {{IDRETRY, IDCANCEL}, 2},           // MB_RETRYCANCEL
    };
    const unsigned style = type & 0xF;
    if (style >= std::size(kButtons)) {
        return IDOK;
    }
    const Buttons& buttons = kButtons[style];
    const int wanted = static_cast<int>((type >> 8) & 0xF);
    return buttons.answers[wanted < buttons.count ? wanted : 0];
}
