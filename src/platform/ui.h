#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/progress.h"

// Message-box styles and answers. The values are the classic ones, because callers combine
// them into one 16-bit type and compare the answers as numbers.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
// The fields of a type: its buttons, its icon, its default button.
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr unsigned MB_DEFMASK = 0xF00;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Busy1-Busy3 are the three frames of the busy animation that long operations step through.
enum class CursorShape { Arrow, Wait, Busy1, Busy2, Busy3 };

// OpenOrNew is an open dialog that also takes the name of a file not made yet.
enum class FileDialogKind { Open, OpenOrNew, Save };

// Every question the program puts to the user, and every notice that needs acknowledging,
// goes through this seam. The window build shows real dialogs; the command line prints;
// tests record the exact texts and answer from a script.
class Ui {
public:
    virtual ~Ui() = default;

    // The error box. Without a caption it is titled "Error" and always carries the stop icon,
    // whatever icon the type asks for; with a caption (even an empty one) the type is used
    // unchanged.
    // Returns the button pressed (IDOK, IDYES, ...).
    int errorBox(const std::string& text, std::optional<std::string> caption = std::nullopt,
                 unsigned type = MB_OK);

    // The control bar's message line: a passing notice that needs no answer ("Staff Notation
    // Selected", "Currently in PLAY mode, ..."). Where there is no message line it is dropped.
    virtual void notice(const std::string& text);

    virtual void setCursor(CursorShape shape) = 0;
    // Phases 1, 2 and 3 show the busy frames in turn; other values change nothing.
    void busyCursorStep(int phase);

    // The common open or save dialog. filterDescription names the files and lists their
    // pattern in parentheses: "MIDI Files (*.mid)"; several are separated by ";;". initialName
    // is a folder and a pattern ("<dir>/*.mid"), which set the folder shown and the names
    // listed, or a pattern alone (the working directory), or a file name to offer. The save
    // dialog does not ask before replacing a file: its callers ask themselves. Returns the
    // chosen path, or nothing when the user cancels. A Ui that cannot show dialogs chooses
    // nothing, as if cancelled.
    virtual std::optional<std::string> chooseFile(FileDialogKind kind,
                                                  const std::string& filterDescription,
                                                  const std::string& title,
                                                  const std::string& initialName);

    // Opens the progress of a piece of work: text says what is being done, title is the
    // caption. A Ui that shows nothing returns a progress that is never cancelled.
    virtual std::unique_ptr<Progress> openProgress(const std::string& text,
                                                   const std::string& title);

    // The buttons of a box of this type, in order, as the answers they give (MB_YESNO:
    // IDYES, IDNO). An unknown style has the OK button alone.
    static std::span<const int> buttonAnswers(unsigned type);
    // The button a box of this type answers when nobody picks one: the default button.
    static int defaultAnswer(unsigned type);

protected:
    // Shows a box whose caption and type are final. Returns the button pressed.
    virtual int showMessage(const std::string& text, const std::string& caption, unsigned type) = 0;
};
