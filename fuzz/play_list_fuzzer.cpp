#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "playback/play_list_file.h"
#include "scratch_file.h"

// One input is one *.pll file. A file read as a list is saved as OK saves it and must read
// back the same: a list the program wrote that it then refuses, or reads otherwise, is lost.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = ScratchFile::write("input.pll", std::span(data, size));
    PlayListFile list;
    if (PlayListFile::read(file, list) != PlayListFile::Status::Read) {
        return 0;
    }
    const auto saved = ScratchFile::directory() / "saved.pll";
    if (!list.write(saved)) {
        std::abort();
    }
    PlayListFile again;
    if (PlayListFile::read(saved, again) != PlayListFile::Status::Read ||
        again.directory != list.directory || again.names != list.names) {
        std::abort();
    }
    return 0;
}
