#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/ui.h"

// A Ui for tests: records every box exactly as it would be shown and answers from a script.
// A box with no scripted answer left takes its default button.
class ScriptedUi : public Ui {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type;
    };

    void answerNext(int answer) { answers_.push_back(answer); }
    void setCursor(CursorShape shape) override { cursors.push_back(shape); }

    // The texts of the boxes shown so far, in order.
    std::vector<std::string> texts() const;

    std::vector<Box> boxes;
    std::vector<CursorShape> cursors;

protected:
    int showMessage(const std::string& text, const std::string& caption, unsigned type) override;

private:
    std::deque<int> answers_;
};
