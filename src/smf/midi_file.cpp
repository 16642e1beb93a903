#include "smf/midi_file.h"

#include <fstream>
#include <memory>
#include <new>

#include "model/omb_data.h"
#include "platform/replace_file.h"
#include "platform/ui.h"
#include "platform/wait_cursor.h"
#include "smf/midi_reader.h"
#include "smf/song_encoder.h"

namespace {

// No MIDI file comes near this; anything larger is not one, and is not read.
constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

}  // namespace

MidiFile::MidiFile(OMBData& song, Ui& ui) : song_(song), ui_(ui) {}

bool MidiFile::load(const std::filesystem::path& path) {
    const WaitCursor waitCursor(ui_);
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(path, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
    std::ifstream file;
    if (regular && !error) {
        file.open(path, std::ios::binary);
    }
    if (!file.is_open()) {
        ui_.errorBox(path.string() + " Not found");
        return false;
    }
    if (size > kMaxFileBytes) {
        ui_.errorBox("Not a valid Midi file");
        return false;
    }
    return MidiReader(song_, ui_).read(file);
}

bool MidiFile::write(const std::filesystem::path& path, const std::string& track0Name) {
    try {
        return writeFile(path, track0Name);
    } catch (const std::bad_alloc&) {
        // Nothing was written: the previous file stays and the song keeps its changes.
        ui_.errorBox("MEMORY ALLOCATION PROBLEM", "");
        return false;
    }
}

bool MidiFile::writeFile(const std::filesystem::path& path, const std::string& track0Name) {
    const WaitCursor waitCursor(ui_);
    // Track 0 is always written, so that the tracks after it keep their numbers.
    int chunks = 1;
    for (int t = 1; t < OMBData::kTrackCount; ++t) {
        chunks += song_.track(t).empty() ? 0 : 1;
    }
    ByteStream fileHeader;
    fileHeader.appendBytes({reinterpret_cast<const std::uint8_t*>("MThd"), 4});
    fileHeader.appendBigEndian(6, 4);
    fileHeader.appendBigEndian(static_cast<std::uint32_t>(song_.format), 2);
    fileHeader.appendBigEndian(static_cast<std::uint32_t>(chunks), 2);
    fileHeader.appendBigEndian(static_cast<std::uint32_t>(song_.timeDivision), 2);

    // Each chunk goes to the file as soon as it is encoded, after its own header.
    SongEncoder encoder(song_, track0Name, ui_);
    const bool written = replaceFile(path, [&](const ByteSink& sink) {
        return sink(fileHeader.bytes()) &&
               encoder.encode([&sink](int, std::span<const std::uint8_t> bytes) {
                   ByteStream chunkHeader;
                   chunkHeader.appendBytes({reinterpret_cast<const std::uint8_t*>("MTrk"), 4});
                   chunkHeader.appendBigEndian(static_cast<std::uint32_t>(bytes.size()), 4);
                   return sink(chunkHeader.bytes()) && sink(bytes);
               });
    });
    if (written) {
        song_.trackCount = chunks;
        song_.changed = false;
    } else {
        ui_.errorBox("File does not exist, or is read only");
    }
    return written;
}
