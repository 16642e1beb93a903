#pragma once

#include <functional>

#include "app/transport_controls.h"

class MainMenu;
class QWidget;
class Toolbar;
class Track;

// Which menu items and toolbar buttons are grey: the commands not built yet, the commands
// that need an open song, the top-level menus while a song plays, and the controls the play
// commands set (TransportControls). Window thread only.
class CommandStates : public TransportControls {
public:
    // window is the main window (minimised for a play); songOpen tells whether a song is
    // current; pasteBuffer is what Paste would paste. All must outlive this object.
    CommandStates(QWidget& window, MainMenu& menu, Toolbar& toolbar, const Track& pasteBuffer,
                  const bool& soundFontControl, std::function<bool()> songOpen);

    // The states of a window with no song yet: nothing selected, nothing to paste.
    void showInitial();
    // The commands that need an open song (Paste only with something to paste).
    void enableDocumentItems(bool enabled);

    void setButtonEnabled(int commandId, bool enabled) override;
    // Greys or enables the eleven top-level menus (the SoundFont item stays grey without its
    // control, Voices without a song).
    void setTopMenusEnabled(bool enabled) override;
    void setAcceleratorsEnabled(bool enabled) override;
    void minimize() override;
    void restore() override;
    bool isChecked(int commandId) const override;

private:
    QWidget& window_;
    MainMenu& menu_;
    Toolbar& toolbar_;
    const Track& pasteBuffer_;
    const bool& soundFontControl_;
    std::function<bool()> songOpen_;
};
