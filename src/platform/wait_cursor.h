#pragma once

#include "platform/ui.h"

// Shows the wait cursor while it lives and the arrow when it goes, on every way out of the
// scope that holds it. Guards may nest: the innermost to end already shows the arrow.
class WaitCursor {
public:
    explicit WaitCursor(Ui& ui) : ui_(ui) { ui_.setCursor(CursorShape::Wait); }
    ~WaitCursor() { ui_.setCursor(CursorShape::Arrow); }

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Ui& ui_;
};
