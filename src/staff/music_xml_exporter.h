#pragma once

#include <filesystem>
#include <string>

class OMBData;
class Ui;

// The song as a MusicXML 4.0 partwise score, for engravers and other notation programs.
//
// Each track that holds a sounding note is one part on a grand staff, its notes on the staff
// and spelled as the staff window draws them (see adjustAccidental). Bars are counted as the
// window counts them: from tick 0 by the song's time signature. Starts and ends go to the
// nearest 48th of a quarter note (every value the staff draws, dotted thirty-seconds and
// sixteenth triplets included); divisions are that grid reduced by what every time shares. Each
// length is written as plain, dotted or triplet values tied together, across bar lines too; a
// note that the grid leaves no length is a grace note. Notes of one
// staff that overlap with a different start or length go to a voice of their own; rests fill
// every bar of every voice, so the rests the song keeps are not written as such. Tempo events
// become metronome marks, text, marker and cue events words, lyric events the lyrics of the
// notes they start with (words where no note starts).
//
// Not thread-safe; whoever owns the song calls it.
class MusicXmlExporter {
public:
    explicit MusicXmlExporter(Ui& ui);

    // The whole document; empty when the song has no time base (a time division that is not
    // positive) or no sounding note.
    static std::string scoreText(const OMBData& song);

    // Writes the score to file through a temporary file renamed over it, so a failure leaves
    // any earlier file whole and no partial one. On failure shows why and returns false.
    bool exportSong(const OMBData& song, const std::filesystem::path& file);

private:
    Ui& ui_;
};
