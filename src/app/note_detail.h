#pragma once

#include <string>

class OMBData;
class RecordedEdits;
class Ui;

// The note detail without its window: one note's time, velocity, duration and channel as
// texts the user edits, and OK, which makes the note again from them. The pitch is shown,
// never changed. Window thread only.
class NoteDetail {
public:
    // The note at index of the track.
    NoteDetail(OMBData& song, Ui& ui, int track, int index);

    std::string beat;
    std::string velocity;
    std::string duration;
    std::string channel;
    // The pitch name, read only.
    const std::string& name() const { return name_; }

    // OK: checks the texts and replaces the note by one made from them, recorded in edits;
    // entryChannel (0-based, the channel of notes entered with the mouse) takes the chosen
    // channel. Returns the note's index afterwards, or -1 when a value was refused: then
    // nothing changes.
    int apply(RecordedEdits& edits, int& entryChannel);

private:
    OMBData& song_;
    Ui& ui_;
    int track_;
    int index_;
    std::string name_;
};
