#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"

// A Ui for tests: records every box exactly as it would be shown and answers from a script.
// A box with no scripted answer left takes its default button; a file dialog with none left is
// cancelled.
class ScriptedUi : public Ui {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type;
    };
    struct FileDialog {
        FileDialogKind kind;
        std::string filterDescription;
        std::string title;
        std::string initialName;
    };

    void answerNext(int answer) { answers_.push_back(answer); }
    // The next file dialog returns this path, or is cancelled when it is nothing.
    void answerFile(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
    void setCursor(CursorShape shape) override { cursors.push_back(shape); }
    void notice(const std::string& text) override { notices.push_back(text); }
    std::optional<std::string> chooseFile(FileDialogKind kind, const std::string& filterDescription,
                                          const std::string& title,
                                          const std::string& initialName) override;

    // The texts of the boxes shown so far, in order.
    std::vector<std::string> texts() const;

    std::vector<Box> boxes;
    std::vector<CursorShape> cursors;
    std::vector<std::string> notices;
    std::vector<FileDialog> fileDialogs;

protected:
    int showMessage(const std::string& text, const std::string& caption, unsigned type) override;

private:
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> fileAnswers_;
};
