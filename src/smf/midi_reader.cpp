#include "smf/midi_reader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "model/omb_data.h"
#include "model/song_edits.h"
#include "platform/ui.h"
#include "smf/block_reader.h"
#include "smf/byte_reader.h"

namespace {

constexpr std::size_t kChunkHeaderLength = 8;  // the chunk's name and its length
constexpr std::size_t kHeaderLength = 6;
constexpr int kNoteOnsPerBusyStep = 200;
constexpr int kMaxBeatUnitPower = 6;  // a 64th note
constexpr int kMaxSharps = 7;
constexpr int kChannels = 16;
constexpr int kKeys = 128;

bool startsWith(std::span<const std::uint8_t> bytes, const char* text) {
    return std::memcmp(bytes.data(), text, std::strlen(text)) == 0;
}

int signedByte(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

}  // namespace

MidiReader::MidiReader(OMBData& song, Ui& ui)
    : song_(song), ui_(ui), pending_(kChannels * kKeys), busyCursor_(ui, kNoteOnsPerBusyStep) {}

bool MidiReader::read(std::istream& file) {
    song_.timing().defaultTempo = 120;
    song_.timeSignature = {};
    song_.keySignature.fill(0);

    BlockReader blocks(file);
    try {
        int trackChunks = 0;
        if (!readHeader(blocks, trackChunks)) {
            return false;
        }
        for (int track = 0; track < trackChunks && track < OMBData::kTrackCount; ++track) {
            if (!readTrackChunk(blocks, track)) {
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        // Out of memory for a note or an event: what was read stays, the rest is not read.
        forgetPendingNotes();
        ui_.errorBox("MEMORY ALLOCATION PROBLEM", "");
        respellIfKeyCameLate();
        return false;
    }
    respellIfKeyCameLate();
    return true;
}

// Notes are spelled as they are read, in the key known by then. A key at tick 0 that only
// came after some notes (in a later track, or behind notes of its own tick) leaves those notes
// spelled in another key than the one the song shows: they are spelled again, as the staff
// and a later load would spell them.
void MidiReader::respellIfKeyCameLate() {
    if (!keyCameLate_) {
        return;
    }
    const bool changed = song_.changed;
    respellNotes(song_, kEveryTrack);
    song_.changed = changed;
}

bool MidiReader::readHeader(BlockReader& file, int& trackChunks) {
    ByteReader in(file.read(kChunkHeaderLength + kHeaderLength));
    std::span<const std::uint8_t> id;
    std::uint32_t length = 0;
    std::uint32_t format = 0;
    std::uint32_t tracks = 0;
    std::uint32_t division = 0;
    if (!in.readBytes(4, id) || !startsWith(id, "MTh") || !in.readBigEndian(4, length) ||
        !in.readBigEndian(2, format) || !in.readBigEndian(2, tracks) ||
        !in.readBigEndian(2, division)) {
        ui_.errorBox("Not a valid Midi file");
        return false;
    }
    // A longer header carries fields this program does not use.
    if (length > kHeaderLength && !file.skip(length - kHeaderLength)) {
        ui_.errorBox("Not a valid Midi file");
        return false;
    }
    song_.format = static_cast<int>(format);
    song_.trackCount = static_cast<int>(tracks);
    trackChunks = static_cast<int>(tracks);
    // SMPTE timing (bit 15) has no ticks per quarter note, and 0 ticks have no length.
    if ((division & 0x8000) != 0 || division == 0) {
        ui_.errorBox("Unsupported Time Division - Set to 120");
        song_.timeDivision = OMBData::kDefaultDivision;
    } else {
        song_.timeDivision = static_cast<int>(division);
    }
    return true;
}

bool MidiReader::readTrackChunk(BlockReader& file, int track) {
    for (;;) {
        ByteReader header(file.read(kChunkHeaderLength));
        std::span<const std::uint8_t> id;
        std::uint32_t length = 0;
        if (!header.readBytes(4, id) || !header.readBigEndian(4, length)) {
            invalidTrack();
            return false;
        }
        if (startsWith(id, "MTr")) {
            track_ = track;
            runningTime_ = 0;
            lastStatus_ = 0;
            noteOn_ = true;
            noteChannel_ = 0;
            noteHint_ = 0;
            eventHint_ = 0;
            ByteReader in(file.read(length));
            const bool complete = in.remaining() == length;
            // A message takes two bytes at least (a delta and a data byte under running
            // status), so the chunk's length bounds its elements.
            song_.track(track).reserveStorage(static_cast<int>(in.remaining() / 2));
            const bool read = readEvents(in);
            forgetPendingNotes();
            if (!read || !complete) {
                invalidTrack();
                return false;
            }
            return true;
        }
        // Other programs add chunks of their own; they are skipped whole.
        if (!file.skip(length)) {
            invalidTrack();
            return false;
        }
    }
}

bool MidiReader::readEvents(ByteReader& in) {
    while (!in.atEnd()) {
        std::uint32_t delta = 0;
        std::uint8_t status = 0;
        if (!in.readVlq(delta) || !in.readByte(status)) {
            return false;
        }
        runningTime_ += delta;
        if (runningTime_ > INT_MAX) {
            return false;
        }
        bool read = true;
        if (status < 0x80 && lastStatus_ >= 0xA0 && lastStatus_ <= 0xEF) {
            in.unread();
            read = readChannelMessage(in, lastStatus_);
        } else if (status < 0x80) {
            read = readNote(in, status);
        } else {
            lastStatus_ = status;
            if (status == 0xFF) {
                read = readMeta(in);
            } else if (status >= 0xF0) {
                read = readSystem(in, status);
            } else if (status >= 0xA0) {
                read = readChannelMessage(in, status);
            } else {
                noteOn_ = status >= 0x90;
                noteChannel_ = status & 0x0F;
                std::uint8_t key = 0;
                read = in.readByte(key) && readNote(in, key);
            }
        }
        if (!read) {
            return false;
        }
    }
    return true;
}

bool MidiReader::readNote(ByteReader& in, int key) {
    std::uint8_t velocity = 0;
    if (!in.readByte(velocity)) {
        return false;
    }
    key &= 0x7F;
    velocity &= 0x7F;
    // A note-on of velocity 0 is a note-off; running status after it goes on with note-ons.
    if (!noteOn_ || velocity == 0) {
        closeNote(key, noteChannel_);
        return true;
    }
    std::optional<StaffPitch>& spelling = spelling_[key];
    if (!spelling) {
        spelling = song_.spellKey(key);
    }
    const StaffPitch pitch = *spelling;
    pending_[noteChannel_ * kKeys + key].push_back(
        std::make_unique<Note>(static_cast<int>(runningTime_), velocity, 0, pitch.position,
                               pitch.accidental, static_cast<std::uint8_t>(noteChannel_)));
    busyCursor_.countItem();
    notesRead_ = true;
    return true;
}

// The oldest pending note of the key and channel ends here. Matching by key number rather than
// by spelling keeps a key signature met in between from orphaning the note.
void MidiReader::closeNote(int key, int channel) {
    auto& sounding = pending_[channel * kKeys + key];
    if (sounding.empty()) {
        return;
    }
    std::unique_ptr<Note> note = std::move(sounding.front());
    sounding.pop_front();
    note->setDuration(static_cast<int>(runningTime_) - note->start());
    song_.track(track_).addWithHint(std::move(note), noteHint_);
}

bool MidiReader::readChannelMessage(ByteReader& in, int status) {
    const bool twoBytes = status < 0xC0 || status >= 0xE0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    if (!in.readByte(data1) || (twoBytes && !in.readByte(data2))) {
        return false;
    }
    addEvent(status, {}, data1 & 0x7F, data2 & 0x7F, 0);
    if ((status & 0xF0) == Event::kStatusProgramChange &&
        song_.program[track_] == OMBData::kNoProgram) {
        song_.program[track_] = data1 & 0x7F;
    }
    return true;
}

bool MidiReader::readSystem(ByteReader& in, int status) {
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    switch (status) {
        case 0xF0:
        case 0xF7: {
            // A system-exclusive message, or a packet of one split across events: a length
            // and that many bytes.
            std::uint32_t length = 0;
            std::span<const std::uint8_t> bytes;
            if (!in.readVlq(length) || !in.readBytes(length, bytes)) {
                return false;
            }
            addEvent(status, bytes, 0, 0, static_cast<int>(length));
            return true;
        }
        case 0xF2:
            if (!in.readByte(data1) || !in.readByte(data2)) {
                return false;
            }
            addEvent(status, {}, data1 & 0x7F, data2 & 0x7F, 0);
            return true;
        case 0xF3:
            if (!in.readByte(data1)) {
                return false;
            }
            addEvent(status, {}, data1 & 0x7F, 0, 0);
            return true;
        case 0xF6:
        case 0xF8:
        case 0xFE:
            addEvent(status, {}, 0, 0, 0);
            return true;
        case 0xFA:
        case 0xFB:
        case 0xFC:
            return true;
        default:
            // 0xF1, 0xF4, 0xF5, 0xF9, 0xFD: told once per file, not once per byte, so a
            // damaged file cannot bury the user in boxes. A time-code quarter frame (0xF1)
            // carries one data byte; left in place it would be read as a note key and the rest
            // of the track would fall out of step.
            if (status == 0xF1 && in.readByte(data1) && data1 >= 0x80) {
                in.unread();
            }
            if (!undefinedShown_) {
                undefinedShown_ = true;
                ui_.errorBox("midi", "Undefined MIDI event ", MB_OK);
            }
            return true;
    }
}

bool MidiReader::readMeta(ByteReader& in) {
    std::uint8_t type = 0;
    std::uint32_t length = 0;
    std::span<const std::uint8_t> bytes;
    if (!in.readByte(type) || !in.readVlq(length) || !in.readBytes(length, bytes)) {
        return false;
    }
    SongTiming& timing = song_.timing();
    // The song shows the signatures of its start, the earliest of each kind in any track (the
    // last read of that time); later changes stay events of their own and are written back as
    // they came.
    switch (type) {
        case Event::kMetaTempo: {
            if (length < 3) {
                break;
            }
            const std::uint32_t usPerQuarter = bytes[0] << 16 | bytes[1] << 8 | bytes[2];
            const int bpm = Event::bpmOf(usPerQuarter);
            if (!firstTempoSeen_) {
                timing.defaultTempo = std::max(bpm, 0);
                firstTempoSeen_ = true;
            }
            auto tempo = std::make_unique<Event>(static_cast<int>(runningTime_), 0xFF,
                                                 std::span<const std::uint8_t>{}, type, bpm, 0);
            tempo->setFileTempo(usPerQuarter);
            addEvent(std::move(tempo));
            break;
        }
        case Event::kMetaTimeSignature: {
            if (length < 2) {
                break;
            }
            // Bars are beats per bar long: a bar of no beats would have no length.
            const int numerator = std::max<int>(bytes[0], 1);
            const int beatUnit = 1 << std::min<int>(bytes[1], kMaxBeatUnitPower);
            if (runningTime_ <= timeSignatureStart_) {
                timeSignatureStart_ = runningTime_;
                song_.timeSignature = {numerator, beatUnit};
            }
            auto signature =
                std::make_unique<Event>(static_cast<int>(runningTime_), 0xFF,
                                        std::span<const std::uint8_t>{}, type, numerator, beatUnit);
            if (length >= 4) {
                signature->setMetronome(bytes[2], bytes[3]);
            }
            addEvent(std::move(signature));
            break;
        }
        case Event::kMetaKeySignature: {
            if (length < 1) {
                break;
            }
            const int sharps = std::clamp(signedByte(bytes[0]), -kMaxSharps, kMaxSharps);
            const int minor = length >= 2 && bytes[1] == 1 ? 1 : 0;
            if (runningTime_ <= keySignatureStart_) {
                keySignatureStart_ = runningTime_;
                KeySignature key{};
                for (int slot = 0; slot < std::abs(sharps); ++slot) {
                    key[slot] = sharps > 0 ? 1 : -1;
                }
                keyCameLate_ = keyCameLate_ || (notesRead_ && key != song_.keySignature);
                song_.keySignature = key;
                spelling_.fill(std::nullopt);
            }
            addEvent(0xFF, {}, type, sharps, minor);
            break;
        }
        case Event::kMetaEndOfTrack:
            break;
        default:
            // Texts, markers, lyrics, ports and every other meta stay as they came.
            addEvent(0xFF, bytes, type, 0, static_cast<int>(length));
            break;
    }
    return true;
}

void MidiReader::addEvent(int status, std::span<const std::uint8_t> data, int data1, int data2,
                          int data3) {
    addEvent(
        std::make_unique<Event>(static_cast<int>(runningTime_), status, data, data1, data2, data3));
}

void MidiReader::addEvent(std::unique_ptr<Event> event) {
    song_.track(track_).addWithHint(std::move(event), eventHint_);
}

// Notes still sounding at the end of a track never sound: they are dropped.
void MidiReader::forgetPendingNotes() {
    for (auto& sounding : pending_) {
        sounding.clear();
    }
}

void MidiReader::invalidTrack() {
    ui_.errorBox("Invalid track - Open stopped");
}
