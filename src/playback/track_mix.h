#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Which tracks sound: each of the 16 tracks may be muted or soloed. While any track is
// soloed only the soloed tracks sound, muted or not; otherwise every track but the muted
// ones. Silencing a track keeps its notes out and nothing else: its programs, controllers
// and tempo still play, so a track brought back mid-play sounds as it should. A plain value.
class TrackMix {
public:
    static constexpr int kTrackCount = 16;

    // Only the given tracks (0-15) sound: a stem. Numbers outside 0-15 are left out.
    static TrackMix only(std::uint16_t tracks) { return TrackMix(0, tracks); }

    TrackMix() = default;
    TrackMix(std::uint16_t mutedTracks, std::uint16_t soloedTracks)
        : muted_(mutedTracks), soloed_(soloedTracks) {}

    bool audible(int track) const;

    bool muted(int track) const { return (muted_ >> track & 1) != 0; }
    bool soloed(int track) const { return (soloed_ >> track & 1) != 0; }
    void setMuted(int track, bool muted);
    void setSoloed(int track, bool soloed);

    // One bit per track, bit 0 for track 1.
    std::uint16_t mutedTracks() const { return muted_; }
    std::uint16_t soloedTracks() const { return soloed_; }

    // Track numbers as a user writes them, 1-16, separated by blanks or commas ("2 5 16").
    // Anything that is not such a number is passed over.
    static std::uint16_t parseTrackList(std::string_view text);
    static std::string trackListText(std::uint16_t tracks);

    bool operator==(const TrackMix&) const = default;

private:
    static void setBit(std::uint16_t& bits, int track, bool on);

    std::uint16_t muted_ = 0;
    std::uint16_t soloed_ = 0;
};
