#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "model/track.h"
#include "platform/busy_cursor.h"

class BlockReader;
class ByteReader;
class OMBData;
class Ui;

// Reads the bytes of a Standard MIDI File (format 0 or 1) into a song that has just been
// reset. Track chunk n becomes track n (at most 16); note-on/note-off pairs become notes, every
// other kept message an event; the header and the tempo, time-signature and key-signature
// metas set the song-wide values. Malformed input stops the load with its message and keeps
// what was read before the fault; no input makes it read outside the bytes it was given.
class MidiReader {
public:
    MidiReader(OMBData& song, Ui& ui);

    // True when the whole file was read. The file is read a chunk at a time.
    bool read(std::istream& file);

private:
    bool readHeader(BlockReader& file, int& trackChunks);
    bool readTrackChunk(BlockReader& file, int track);
    // The events of one chunk, whose bytes the reader holds.
    bool readEvents(ByteReader& in);
    bool readMeta(ByteReader& in);
    bool readSystem(ByteReader& in, int status);
    bool readChannelMessage(ByteReader& in, int status);
    // A note message; key is its first data byte.
    bool readNote(ByteReader& in, int key);
    void closeNote(int key, int channel);
    void addEvent(int status, std::span<const std::uint8_t> data, int data1, int data2, int data3);
    void addEvent(std::unique_ptr<Event> event);
    void forgetPendingNotes();
    void invalidTrack();
    void respellIfKeyCameLate();

    OMBData& song_;
    Ui& ui_;
    // Notes whose note-off has not come yet, by channel * 128 + key, oldest first: a note-off
    // finds its note at once however many others sound.
    std::vector<std::deque<std::unique_ptr<Note>>> pending_;
    // How the song's key signature spells each key number; empty until asked, and emptied when
    // the key signature changes. A large song spells millions of notes from these 128.
    std::array<std::optional<StaffPitch>, 128> spelling_;
    int track_ = 0;
    std::int64_t runningTime_ = 0;
    int lastStatus_ = 0;
    bool noteOn_ = true;
    int noteChannel_ = 0;
    bool firstTempoSeen_ = false;
    bool undefinedShown_ = false;
    bool notesRead_ = false;
    bool keyCameLate_ = false;
    // The time of the signatures the song shows so far.
    std::int64_t keySignatureStart_ = INT64_MAX;
    std::int64_t timeSignatureStart_ = INT64_MAX;
    BusyCursor busyCursor_;
    // Notes arrive at their note-off, events at their own time: two nearly sorted streams.
    int noteHint_ = 0;
    int eventHint_ = 0;
};
