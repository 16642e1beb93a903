#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>

#include "model/omb_data.h"
#include "platform/null_ui.h"
#include "smf/midi_reader.h"
#include "smf/song_encoder.h"

// One input is one file, read with no box to stop or steer it: read into a fresh song, then encoded
// as a save would. A failed load keeps what it read before the fault and the user may save that, so
// the encoder takes the song whatever the reader answered.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NullUi ui;
    SongTiming timing;
    OMBData song(timing);
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
    MidiReader(song, ui).read(file);
    SongEncoder(song, "--NONE--", ui).encode([](int, std::span<const std::uint8_t>) {
        return true;
    });
    return 0;
}
