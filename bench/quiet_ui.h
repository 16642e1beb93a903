#pragma once

#include <string>

#include "platform/ui.h"

// A Ui for measuring: it shows nothing and every box takes its default button.
class QuietUi : public Ui {
public:
    void setCursor(CursorShape) override {}

protected:
    int showMessage(const std::string&, const std::string&, unsigned type) override {
        return defaultAnswer(type);
    }
};
