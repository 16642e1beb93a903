#pragma once

#include <string>

#include "platform/ui.h"

// A Ui that shows nothing: every box takes its default button at once. For measuring and
// fuzzing, where a box must neither stop the run nor steer it.
class NullUi : public Ui {
public:
    void setCursor(CursorShape) override {}

protected:
    int showMessage(const std::string&, const std::string&, unsigned type) override {
        return defaultAnswer(type);
    }
};
