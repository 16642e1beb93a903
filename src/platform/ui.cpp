#include "platform/ui.h"

#include <iterator>

namespace {

// The progress where nobody watches: it runs to the end.
class UnwatchedProgress : public Progress {
public:
    bool step(double) override { return true; }
};

}  // namespace

int Ui::errorBox(const std::string& text, std::optional<std::string> caption, unsigned type) {
    if (!caption) {
        // Adding the stop icon's bit to another icon's would make a third icon (question |
        // stop is exclamation), so the stop icon replaces whatever icon was asked for.
        return showMessage(text, "Error", ((type & ~MB_ICONMASK) | MB_ICONHAND) & 0xFFFF);
    }
    return showMessage(text, *caption, type & 0xFFFF);
}

void Ui::notice(const std::string&) {}

void Ui::busyCursorStep(int phase) {
    static constexpr CursorShape kFrames[] = {CursorShape::Busy1, CursorShape::Busy2,
                                              CursorShape::Busy3};
    if (phase >= 1 && phase <= 3) {
        setCursor(kFrames[phase - 1]);
    }
}

std::optional<std::string> Ui::chooseFile(FileDialogKind, const std::string&, const std::string&,
                                          const std::string&) {
    return std::nullopt;
}

std::unique_ptr<Progress> Ui::openProgress(const std::string&, const std::string&) {
    return std::make_unique<UnwatchedProgress>();
}

std::span<const int> Ui::buttonAnswers(unsigned type) {
    static constexpr int kOk[] = {IDOK};
    static constexpr int kOkCancel[] = {IDOK, IDCANCEL};
    static constexpr int kAbortRetryIgnore[] = {IDABORT, IDRETRY, IDIGNORE};
    static constexpr int kYesNoCancel[] = {IDYES, IDNO, IDCANCEL};
    static constexpr int kYesNo[] = {IDYES, IDNO};
    static constexpr int kRetryCancel[] = {IDRETRY, IDCANCEL};
    // Indexed by the MB_OK ... MB_RETRYCANCEL style.
    static constexpr std::span<const int> kStyles[] = {kOk,          kOkCancel, kAbortRetryIgnore,
                                                       kYesNoCancel, kYesNo,    kRetryCancel};
    const unsigned style = type & MB_TYPEMASK;
    return style < std::size(kStyles) ? kStyles[style] : kOk;
}

int Ui::defaultAnswer(unsigned type) {
    const std::span<const int> answers = buttonAnswers(type);
    const std::size_t wanted = (type & MB_DEFMASK) >> 8;
    return answers[wanted < answers.size() ? wanted : 0];
}
