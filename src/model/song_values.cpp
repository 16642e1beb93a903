#include "model/song_values.h"

#include "model/omb_data.h"

SongValues SongValues::of(const OMBData& song) {
    SongValues values;
    values.program = song.program;
    values.timeDivision = song.timeDivision;
    values.title = song.title();
    values.author = song.author();
    values.beatsPerBar = song.timeSignature.beatsPerBar;
    values.beatUnit = song.timeSignature.beatUnit;
    values.defaultTempo = song.timing().defaultTempo;
    values.keySignature = song.keySignature;
    return values;
}

void SongValues::applyWhereDifferent(const SongValues& other, OMBData& song) const {
    for (std::size_t t = 0; t < program.size(); ++t) {
        if (program[t] != other.program[t]) {
            song.program[t] = program[t];
        }
    }
    if (timeDivision != other.timeDivision) {
        song.timeDivision = timeDivision;
    }
    if (title != other.title) {
        song.setTitle(title);
    }
    if (author != other.author) {
        song.setAuthor(author);
    }
    if (beatsPerBar != other.beatsPerBar || beatUnit != other.beatUnit) {
        song.timeSignature = {beatsPerBar, beatUnit};
    }
    if (defaultTempo != other.defaultTempo) {
        song.timing().defaultTempo = defaultTempo;
    }
    if (keySignature != other.keySignature) {
        song.keySignature = keySignature;
    }
}
