#include "platform/busy_cursor.h"

#include "platform/ui.h"

BusyCursor::BusyCursor(Ui& ui, int itemsPerStep) : ui_(ui), itemsPerStep_(itemsPerStep) {}

void BusyCursor::step() {
    itemsSinceStep_ = 0;
    phase_ = phase_ % 3 + 1;
    ui_.busyCursorStep(phase_);
}
