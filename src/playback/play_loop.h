#pragma once

// A practice loop: bars firstBar to lastBar (1-based, counted as the staff page counts them)
// played over and over while on. A plain value; a lastBar before firstBar means firstBar alone.
struct PlayLoop {
    bool on = false;
    int firstBar = 1;
    int lastBar = 1;

    bool operator==(const PlayLoop&) const = default;
};
