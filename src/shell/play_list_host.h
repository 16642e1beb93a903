#pragma once

#include <string>

// What the Play List window needs of the main window: its songs loaded and played, and its
// going noted. Window thread only.
class PlayListHost {
public:
    virtual ~PlayListHost() = default;

    // Loads the file at path into the list's staff window (made on the list's first play, or
    // again when the user closed it), shows it from bar 1 with the first track current, and
    // plays it all. False when the file could not be opened (its messages were shown) or no
    // window could be made.
    virtual bool playListSong(const std::string& path) = 0;
    // The window is going (OK, or Esc when stopSong): the list runs no further, and with
    // stopSong a song of the list that plays or is paused stops; another window's play goes on.
    virtual void playListClosing(bool stopSong) = 0;
};
