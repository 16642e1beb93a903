#include "model/song_values.h"

#include "model/omb_data.h"

SongValues SongValues::of(const OMBData& song) {
    SongValues values;
    values.program = song.program;
    values.timeDivision = song.timeDivision;
    values.title = song.title();
    values.author = song.author();
    values.beatsPerBar = song.timing().beatsPerBar;
    values.beatUnit = song.timing().beatUnit;
    return values;
}

void SongValues::applyTo(OMBData& song) const {
    song.program = program;
    song.timeDivision = timeDivision;
    song.setTitle(title);
    song.setAuthor(author);
    song.timing().beatsPerBar = beatsPerBar;
    song.timing().beatUnit = beatUnit;
}
