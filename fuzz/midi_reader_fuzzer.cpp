#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "model/omb_data.h"
#include "platform/ui.h"
#include "smf/midi_reader.h"
#include "smf/song_encoder.h"

namespace {

// Shows nothing and takes the default button, so a run prints only the fuzzer's own lines and
// no answer steers the reader away from a path.
class SilentUi : public Ui {
public:
    void setCursor(CursorShape) override {}

protected:
    int showMessage(const std::string&, const std::string&, unsigned type) override {
        return defaultAnswer(type);
    }
};

}  // namespace

// One input is one file: read into a fresh song, then encoded as a save would. A failed load
// keeps what it read before the fault and the user may save that, so the encoder takes the
// song whatever the reader answered.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilentUi ui;
    SongTiming timing;
    OMBData song(timing);
    MidiReader(song, ui).read(std::span<const std::uint8_t>(data, size));
    SongEncoder(song, "--NONE--", ui).encode();
    return 0;
}
