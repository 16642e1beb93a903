#include "notation/drawing_tool_session.h"

#include <cstdlib>

#include "smf/midi_file.h"

DrawingToolSession::DrawingToolSession(char* programName, const char* song, std::ostream& err)
    : argc_(argumentCountWithPlatformChosen()),
      argv_{programName},
      application_(argc_, argv_),
      ui_(err),
      document_(timing_, song),
      loaded_(MidiFile(document_.song, ui_).load(song)) {}

int DrawingToolSession::argumentCountWithPlatformChosen() {
    // Drawing needs no screen: without one the off-screen platform stands in.
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    return 1;
}
