#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "playback/voice_table.h"
#include "scratch_file.h"

// One input is the preset names of a SoundFont's bank 0, separated by NUL bytes, as a
// SoundFont may hold any bytes there. Change Bank keeps them as a synth file: every program
// must read back with the name it was given.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            names.emplace_back();
        } else {
            names.back().push_back(static_cast<char>(data[i]));
        }
    }
    const auto file = ScratchFile::directory() / "bank.syn";
    VoiceTable table;
    table.assign(names, file);
    if (!table.save()) {
        std::abort();
    }
    VoiceTable again;
    if (!again.reload(file) || again.count() != table.count()) {
        std::abort();
    }
    for (int program = 0; program < table.count(); ++program) {
        if (again.name(program) != table.name(program)) {
            std::abort();
        }
    }
    return 0;
}
