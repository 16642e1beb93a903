#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/pitch.h"
#include "model/song_timing.h"
#include "model/time_signature.h"
#include "model/track.h"

// The song: 16 tracks and the values that belong to the whole piece. The timing values
// shared by every open song (tempo, beats per bar, beat unit) live in the SongTiming it
// is given, which must outlive it.
class OMBData {
public:
    static constexpr int kTrackCount = 16;
    static constexpr int kNoProgram = -1;
    static constexpr int kDefaultDivision = 120;  // ticks per quarter note
    // The divisions a song may be given: 48 to 768 ticks per quarter note, in steps of 24.
    static constexpr bool isValidDivision(int division) {
        return division >= 48 && division <= 768 && division % 24 == 0;
    }
    static constexpr std::size_t kMaxTextLength = 39;

    explicit OMBData(SongTiming& timing);

    OMBData(const OMBData&) = delete;
    OMBData& operator=(const OMBData&) = delete;

    // Back to an empty song (New, and before every load). The shared timing values are left
    // alone: the load sets them.
    void reset();

    SongTiming& timing() const { return timing_; }
    Track& track(int number) { return *tracks_[number]; }
    const Track& track(int number) const { return *tracks_[number]; }

    bool changed = false;
    // Per track, the program to select for it, or kNoProgram.
    std::array<int, kTrackCount> program;
    int format = 1;
    int timeDivision = kDefaultDivision;
    int trackCount = kTrackCount;  // track chunks the loaded file announced
    // Track chunks of the loaded file beyond the 16 the song holds: a save leaves them out.
    int tracksLeftOut() const { return std::max(trackCount - kTrackCount, 0); }
    // What the user is told of them: "Only 16 of the 20 tracks opened".
    std::string tracksLeftOutText() const;
    KeySignature keySignature{};
    // The signature at the song's start (see metaAtStart): what the staff draws and counts
    // bars by.
    TimeSignature timeSignature{};

    const std::string& title() const { return title_; }
    const std::string& author() const { return author_; }
    // Both keep at most 39 characters.
    void setTitle(std::string_view title);
    void setAuthor(std::string_view author);

    // The key signature the user chose, sharps (1 to 7) or flats (-1 to -7), 0 for C major:
    // sets the seven slots, makes every key-signature event at the song's start say the same
    // (so a save writes the choice rather than the key the file opened with; later key changes
    // stay as they are) and marks the song changed.
    void chooseKeySignature(int sharps);
    // The time signature the user chose: the song's, and that of every time-signature event at
    // the song's start (their metronome bytes stay); marks the song changed. Later changes
    // stay.
    void chooseTimeSignature(TimeSignature signature);

    // The song's start for a kind of meta event: the earliest time any track holds one (a file
    // may state its key and meter a tick or so in), and where the events of that time are. The
    // song shows the signatures found there.
    struct Place {
        int track;
        int index;
    };
    std::vector<Place> metaAtStart(int type) const;
    // That earliest time; INT_MAX when the song holds no such event.
    int metaStartTime(int type) const;

    // Carries every track's program (when it has one) into the track as a program change at
    // tick 0 on the channel of the track's number.
    void applyPrograms();
    // The earliest start among the first notes of the tracks; 0 when the song has no note.
    int firstNoteTime() const;

    int keyOf(int position, int accidental) const { return ::keyOf(position, accidental); }
    StaffPitch spellKey(int key) const { return ::spellKey(key, keySignature); }
    StaffPitch adjustAccidental(StaffPitch pitch) const {
        return ::adjustAccidental(pitch, keySignature);
    }
    int keySignatureSum() const { return ::keySignatureSum(keySignature); }

private:
    SongTiming& timing_;
    std::array<std::unique_ptr<Track>, kTrackCount> tracks_;
    std::string title_;
    std::string author_;
};
