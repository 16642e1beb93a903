#include "playback/track_mix.h"

#include <algorithm>

bool TrackMix::audible(int track) const {
    if (track < 0 || track >= kTrackCount) {
        return true;
    }
    return soloed_ != 0 ? soloed(track) : !muted(track);
}

void TrackMix::setMuted(int track, bool muted) {
    setBit(muted_, track, muted);
}

void TrackMix::setSoloed(int track, bool soloed) {
    setBit(soloed_, track, soloed);
}

void TrackMix::setBit(std::uint16_t& bits, int track, bool on) {
    if (track < 0 || track >= kTrackCount) {
        return;
    }
    const auto bit = static_cast<std::uint16_t>(1U << track);
    bits = static_cast<std::uint16_t>(on ? bits | bit : bits & ~bit);
}

std::uint16_t TrackMix::parseTrackList(std::string_view text) {
    std::uint16_t tracks = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of(" \t,", i);
        const std::string_view word = text.substr(i, end == std::string_view::npos ? end : end - i);
        // Held below overflow: any number past the last track is no track.
        int number = 0;
        bool digits = !word.empty();
        for (const char c : word) {
            digits = digits && c >= '0' && c <= '9';
            number = std::min(number * 10 + (c - '0'), kTrackCount + 1);
        }
        if (digits && number >= 1 && number <= kTrackCount) {
            setBit(tracks, number - 1, true);
        }
        i = end == std::string_view::npos ? text.size() : end + 1;
    }
    return tracks;
}

std::string TrackMix::trackListText(std::uint16_t tracks) {
    std::string text;
    for (int track = 0; track < kTrackCount; ++track) {
        if ((tracks >> track & 1) != 0) {
            text += (text.empty() ? "" : " ") + std::to_string(track + 1);
        }
    }
    return text;
}
