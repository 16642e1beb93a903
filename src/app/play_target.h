#pragma once

#include "playback/play_view.h"

class OMBData;
class StaffPage;

// The staff window whose song a play runs: what the play reads and puts back at its end, and
// how the window follows the play state. The staff window implements it. Window thread only;
// the window must stay open until the play ends.
class PlayTarget : public PlayView {
public:
    virtual OMBData& playedSong() = 0;
    // The page whose bars Play plays and whose first bar a resume starts from.
    virtual StaffPage& playedPage() = 0;
    // The track that plays alone (0-15), or -1 when every track plays.
    virtual int soloTrack() const = 0;
    // The play state changed: the window fits itself to it (the piano roll's scroll bar) and
    // paints its page again.
    virtual void playStateChanged() = 0;
    // Paints the page again from the song.
    virtual void repaintPage() = 0;
};
