#pragma once

#include <iosfwd>

#include "platform/ui.h"

// The Ui of the command-line tools: every message goes to the error stream as
// "Error: <text>", a notice as its text alone, every question takes its default button and a
// file dialog chooses nothing, so a script never blocks.
class ConsoleUi : public Ui {
public:
    explicit ConsoleUi(std::ostream& errorStream);

    void setCursor(CursorShape) override {}
    void notice(const std::string& text) override;

protected:
    int showMessage(const std::string& text, const std::string& caption, unsigned type) override;

private:
    std::ostream& errorStream_;
};
