#pragma once

// The rectangle a left drag draws over the page to choose the notes for cut and copy, in
// client pixels. Set Cut/Copy Notes arms it; the next press starts the drag, each move takes
// the free corner along, and the release fixes the rectangle and disarms the band.
class RubberBand {
public:
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    void arm() { armed_ = true; }
    // The next press starts a drag.
    bool armed() const { return armed_; }
    bool dragging() const { return dragging_; }
    // Starts a drag with both corners at (x, y).
    void press(int x, int y);
    void dragTo(int x, int y);
    // Ends the drag with the free corner at (x, y). The rectangle is turned so that left <=
    // right and top <= bottom, whichever way it was dragged, and starts no further left than
    // minLeft.
    void release(int x, int y, int minLeft);
    // Reaches from the top of the page to far below its bottom, taking every row.
    void coverEveryRow();

    const Rect& rect() const { return rect_; }
    // Whether y lies between the rectangle's top and bottom, both included.
    bool coversRow(int y) const { return y >= rect_.top && y <= rect_.bottom; }

private:
    bool armed_ = false;
    bool dragging_ = false;
    Rect rect_;
};
