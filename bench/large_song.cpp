#include "large_song.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "platform/null_ui.h"
#include "smf/byte_stream.h"
#include "smf/midi_file.h"

namespace {

constexpr int kTracks = 16;
constexpr int kDivision = 480;

class TrackWriter {
public:
    explicit TrackWriter(bool runningStatus) : runningStatus_(runningStatus) {}

    void message(int time, int status, std::initializer_list<int> data) {
        delta(time);
        if (!runningStatus_ || status != lastStatus_ || status >= 0xF0) {
            bytes_.appendByte(status);
        }
        lastStatus_ = status;
        for (int byte : data) {
            bytes_.appendByte(byte);
        }
    }

    void meta(int time, int type, std::initializer_list<int> data) {
        delta(time);
        bytes_.appendByte(0xFF);
        bytes_.appendByte(type);
        bytes_.appendByte(static_cast<int>(data.size()));
        for (int byte : data) {
            bytes_.appendByte(byte);
        }
        lastStatus_ = 0;
    }

    std::vector<std::uint8_t> chunk() {
        meta(bytes_.lastTime, 0x2F, {});
        ByteStream out;
        out.appendBytes({reinterpret_cast<const std::uint8_t*>("MTrk"), 4});
        out.appendBigEndian(static_cast<std::uint32_t>(bytes_.size()), 4);
        out.appendBytes(bytes_.bytes());
        return {out.bytes().begin(), out.bytes().end()};
    }

private:
    void delta(int time) {
        bytes_.appendVlq(static_cast<std::uint32_t>(time - bytes_.lastTime));
        bytes_.lastTime = time;
    }

    bool runningStatus_;
    int lastStatus_ = 0;
    ByteStream bytes_;
};

// One track's music: note-ons and note-offs in time order, with controllers sprinkled in.
std::vector<std::uint8_t> makeTrack(int track, int notes, std::mt19937& random) {
    const int channel = track == 9 ? 9 : track % 16;
    TrackWriter out(track % 2 == 1);
    if (track == 0) {
        out.meta(0, 0x51, {0x07, 0xA1, 0x20});
        out.meta(0, 0x58, {4, 2, 24, 8});
        out.meta(0, 0x59, {0, 0});
    }
    out.message(0, 0xC0 + channel, {track * 8 % 128});
    std::multimap<int, int> sounding;  // note-off time -> key
    std::uniform_int_distribution<int> step(0, 3);
    std::uniform_int_distribution<int> length(1, 8);
    std::uniform_int_distribution<int> key(36, 96);
    std::uniform_int_distribution<int> velocity(30, 127);
    int time = 0;
    for (int n = 0; n < notes; ++n) {
        time += step(random) * kDivision / 4;
        while (!sounding.empty() && sounding.begin()->first <= time) {
            out.message(sounding.begin()->first, 0x90 + channel, {sounding.begin()->second, 0});
            sounding.erase(sounding.begin());
        }
        if (n % 50 == 0) {
            out.message(time, 0xB0 + channel, {7, velocity(random)});
        } else if (n % 10 < 7) {
            out.message(time, 0xE0 + channel, {0, key(random)});
        }
        if (track == 0 && n % 2000 == 0) {
            const int bpm = 80 + n / 2000 % 80;
            const int us = 60'000'000 / bpm;
            out.meta(time, 0x51, {us >> 16 & 0xFF, us >> 8 & 0xFF, us & 0xFF});
        }
        const int k = key(random);
        out.message(time, 0x90 + channel, {k, velocity(random)});
        sounding.emplace(time + length(random) * kDivision / 4, k);
    }
    for (const auto& [off, k] : sounding) {
        out.message(off, 0x80 + channel, {k, 64});
    }
    return out.chunk();
}

}  // namespace

std::vector<std::uint8_t> makeLargeSong(int notes) {
    std::mt19937 random(2024);
    std::vector<std::uint8_t> file = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, kTracks, kDivision >> 8, kDivision & 0xFF};
    for (int t = 0; t < kTracks; ++t) {
        const std::vector<std::uint8_t> chunk = makeTrack(t, notes / kTracks, random);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

std::filesystem::path largeSongFile() {
    static const std::filesystem::path file = [] {
        const auto path = std::filesystem::temp_directory_path() / "tolvar32_large_song.mid";
        const std::vector<std::uint8_t> bytes = makeLargeSong(1'000'000);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }();
    return file;
}

LoadedLargeSong::LoadedLargeSong() {
    NullUi ui;
    MidiFile(song, ui).load(largeSongFile());
}
