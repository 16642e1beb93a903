#pragma once

// What the metronome and the count-in do, as the practice settings keep them. A plain value.
struct MetronomeOptions {
    // Clicks on every beat while a song plays, and while a take records.
    bool forPlay = false;
    bool forRecord = false;
    // Compound meters (6/8, 9/8, 12/8) click their eighths rather than their dotted quarters.
    bool eighthsInCompound = false;
    // Bars of clicks before Play or Record starts: 0, 1 or 2.
    int countInBars = 0;
    // The first click of a bar sounds the accent key, the others the beat key, on channel 10.
    int accentKey = 76;
    int accentVelocity = 100;
    int beatKey = 77;
    int beatVelocity = 80;
};
