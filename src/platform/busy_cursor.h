#pragma once

class Ui;

// The busy animation of a long operation: every itemsPerStep items counted, the cursor shows
// the next of its three frames.
class BusyCursor {
public:
    // itemsPerStep must be positive.
    BusyCursor(Ui& ui, int itemsPerStep);

    // Inline: a save or a play start counts millions of items.
    void countItem() { countItems(1); }
    // Counts 0 or 1 item, for a caller that would otherwise branch on which.
    void countItems(int count) {
        itemsSinceStep_ += count;
        if (itemsSinceStep_ >= itemsPerStep_) {
            step();
        }
    }

private:
    void step();

    Ui& ui_;
    int itemsPerStep_;
    int itemsSinceStep_ = 0;
    int phase_ = 0;
};
