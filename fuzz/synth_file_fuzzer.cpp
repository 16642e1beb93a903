#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "playback/voice_table.h"
#include "scratch_file.h"

namespace {

bool sameNames(const VoiceTable& a, const VoiceTable& b) {
    if (a.count() != b.count()) {
        return false;
    }
    for (int program = -1; program <= VoiceTable::kMaxNames; ++program) {
        if (a.name(program) != b.name(program)) {
            return false;
        }
    }
    return true;
}

}  // namespace

// One input is one synth file (*.syn). What was read is saved as Change Voices saves it and
// must read back the same, every program keeping its name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = ScratchFile::write("input.syn", std::span(data, size));
    VoiceTable table;
    table.reload(file);
    if (!table.save()) {
        std::abort();
    }
    VoiceTable again;
    if (!again.reload(file) || !sameNames(table, again)) {
        std::abort();
    }
    return 0;
}
