#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Builds Standard MIDI File bytes in tests, so every file a test reads is written out in it.
using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes be32(std::uint32_t v) {
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

inline Bytes header(int format, int tracks, int division) {
    return text("MThd") + be32(6) + Bytes{std::uint8_t(format >> 8),   std::uint8_t(format),
                                          std::uint8_t(tracks >> 8),   std::uint8_t(tracks),
                                          std::uint8_t(division >> 8), std::uint8_t(division)};
}

// A chunk of the given id around the bytes, with the true length.
inline Bytes chunk(const std::string& id, const Bytes& body) {
    return text(id) + be32(static_cast<std::uint32_t>(body.size())) + body;
}

// A track chunk; the end-of-track meta is added.
inline Bytes track(const Bytes& events) {
    return chunk("MTrk", events + Bytes{0x00, 0xFF, 0x2F, 0x00});
}

inline Bytes midiFile(int format, int division, std::initializer_list<Bytes> tracks) {
    Bytes file = header(format, static_cast<int>(tracks.size()), division);
    for (const Bytes& t : tracks) {
        file = file + track(t);
    }
    return file;
}
