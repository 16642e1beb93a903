#pragma once

#include "staff/notation_canvas.h"

// A canvas that draws nothing, for driving the note editor without a window.
class NoCanvas : public NotationCanvas {
public:
    void drawNote(int, int, int, int, int, int, bool) override {}
    void drawRollNote(int, int, int, int, int, int) override {}
    void invertRectangle(int, int, int, int) override {}
    void redraw() override {}
    void refreshStatusBar() override {}
};
