#include "smf/song_encoder.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>

#include "platform/ui.h"

namespace {

constexpr int kElementsPerBusyStep = 601;
constexpr std::uint32_t kMaxUsPerQuarter = 0xFFFFFF;  // what three bytes hold

// Microseconds per quarter note of a whole bpm. A tempo of 0 (a file may say so) falls back to
// the song's, and to 120 when that is 0 too, so that nothing divides by zero.
std::uint32_t usPerQuarter(int bpm, int songTempo) {
    if (bpm <= 0) {
        bpm = songTempo > 0 ? songTempo : 120;
    }
    return std::min(Event::usPerQuarterOf(bpm), kMaxUsPerQuarter);
}

// A tempo read from a file goes back exactly as it came, unless its bpm was changed since.
std::uint32_t usPerQuarter(const Event& tempo, int songTempo) {
    if (tempo.data2() <= 0) {
        return usPerQuarter(0, songTempo);
    }
    return std::min(tempo.usPerQuarter(), kMaxUsPerQuarter);
}

void appendTempo(ByteStream& out, std::uint32_t usPerQuarter) {
    out.appendByte(0xFF);
    out.appendByte(Event::kMetaTempo);
    out.appendByte(3);
    out.appendBigEndian(usPerQuarter, 3);
}

// The denominator as a file writes it, the power of two of the beat unit; a beat unit that is no
// power of two from 1 to 64 counts as a quarter.
std::uint8_t denominatorCode(int beatUnit) {
    for (std::uint8_t code = 0; code <= 6; ++code) {
        if (beatUnit == 1 << code) {
            return code;
        }
    }
    return 2;
}

void appendTimeSignature(ByteStream& out, const TimeSignature& signature,
                         std::array<std::uint8_t, 2> metronome) {
    const std::uint8_t bytes[] = {
        0xFF,
        Event::kMetaTimeSignature,
        4,
        static_cast<std::uint8_t>(std::clamp(signature.beatsPerBar, 1, 255)),
        denominatorCode(signature.beatUnit),
        metronome[0],
        metronome[1]};
    out.appendBytes(bytes);
}

void appendKeySignature(ByteStream& out, int sharps, int mode) {
    const std::uint8_t bytes[] = {0xFF, Event::kMetaKeySignature, 2,
                                  static_cast<std::uint8_t>(std::clamp(sharps, -7, 7)),
                                  static_cast<std::uint8_t>(mode == 1 ? 1 : 0)};
    out.appendBytes(bytes);
}

void appendText(ByteStream& out, int type, std::span<const std::uint8_t> text) {
    out.appendByte(0xFF);
    out.appendByte(type);
    out.appendVlq(static_cast<std::uint32_t>(text.size()));
    out.appendBytes(text);
}

// Elements come in time order; one that is not (a time the model should never hold) goes out at
// the time before it rather than as a negative delta, which a file cannot hold.
void appendDelta(ByteStream& out, int time) {
    time = std::max(time, out.lastTime);
    out.appendVlq(static_cast<std::uint32_t>(time - out.lastTime));
    out.lastTime = time;
}

std::uint8_t dataByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

// A meta event with its delta. Every type but the end of a track, which the writer adds, goes
// out: the ones the song interprets from their values, the others with their bytes as read.
void encodeMeta(ByteStream& out, const Event& event, const OMBData& song) {
    const SongTiming& timing = song.timing();
    const int type = event.data1();
    if (type < 0 || type > 127 || type == Event::kMetaEndOfTrack) {
        return;
    }
    appendDelta(out, event.time());
    switch (type) {
        case Event::kMetaTempo:
            appendTempo(out, usPerQuarter(event, timing.defaultTempo));
            return;
        case Event::kMetaTimeSignature:
            appendTimeSignature(
                out,
                {event.data2() > 0 ? event.data2() : song.timeSignature.beatsPerBar, event.data3()},
                event.metronome());
            return;
        case Event::kMetaKeySignature:
            // Each event keeps its own key and mode. The song's key is the one at its start:
            // written in place of a later change, it would move the keys of the song about.
            appendKeySignature(out, event.data2(), event.data3());
            return;
        default:
            appendText(out, type, event.data());
            return;
    }
}

}  // namespace

SongEncoder::SongEncoder(OMBData& song, std::string track0Name, Ui& ui)
    : song_(song),
      track0Name_(std::move(track0Name)),
      ui_(ui),
      busyCursor_(ui, kElementsPerBusyStep) {}

bool SongEncoder::encode(const ChunkSink& sink) {
    addTrackZeroDefaults();
    ByteStream stream;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        if (t == 0 || !song_.track(t).empty()) {
            encodeTrack(t, stream);
            if (!sink(t, stream.bytes())) {
                return false;
            }
        }
    }
    return true;
}

void SongEncoder::encodeTrack(int t, ByteStream& out) {
    const Track& track = song_.track(t);
    // The order is checked as the track is read, which saves a pass over a long one; a track
    // found out of order is encoded again, checked and sorted first.
    if (!encodeMessages(track, TrackMessages::OrderCheck::AsRead, out)) {
        encodeMessages(track, TrackMessages::OrderCheck::First, out);
    }
    const std::uint8_t endOfTrack[] = {0x00, 0xFF, 0x2F, 0x00};
    out.appendBytes(endOfTrack);
}

bool SongEncoder::encodeMessages(const Track& track, TrackMessages::OrderCheck check,
                                 ByteStream& out) {
    out.clear();
    out.reserve(9 * static_cast<std::size_t>(track.count()) + 236);
    TrackMessages messages(track, song_, check);
    for (auto batch = messages.nextBatch(); !batch.empty(); batch = messages.nextBatch()) {
        // The messages are written straight into the room made for them; an event the message
        // does not hold whole is encoded into the stream itself.
        constexpr std::size_t kMostMessageBytes = ByteStream::kLongestVlq + 3;
        int lastTime = out.lastTime;
        std::uint8_t* at = out.room(batch.size() * kMostMessageBytes);
        for (auto message = batch.begin(); message != batch.end(); ++message) {
            if (!message->isComplete()) {
                out.wroteUpTo(at);
                out.lastTime = lastTime;
                busyCursor_.countItem();
                encodeEvent(out, static_cast<const Event&>(*track.at(message->index())), song_,
                            false);
                lastTime = out.lastTime;
                at = out.room(static_cast<std::size_t>(batch.end() - message) * kMostMessageBytes);
                continue;
            }
            busyCursor_.countItems(message->isNoteOff() ? 0 : 1);
            // Elements come in time order; one that is not goes out at the time before it.
            const int time = std::max(message->time(), lastTime);
            at = ByteStream::writeVlq(at, static_cast<std::uint32_t>(time - lastTime));
            lastTime = time;
            at[0] = message->status;
            at[1] = message->key;
            at[2] = message->velocity;
            at += 3;
        }
        out.wroteUpTo(at);
        out.lastTime = lastTime;
    }
    return !messages.foundOutOfOrder();
}

// A song that states its tempo, meter or key anywhere, in any track, keeps them as they are: a
// file from another program may state them a tick or so in, or in another track, and an event
// added at tick 0 would contradict it for every reader. Only a kind the song never states is
// added from the song's values. What is added goes into the song, where the encoding finds it,
// so the song and its file hold the same elements in the same order.
void SongEncoder::addTrackZeroDefaults() {
    bool hasTempo = false;
    bool hasTimeSignature = false;
    bool hasKeySignature = false;
    bool hasName = false;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song_.track(t);
        for (int i = 0; i < track.count(); ++i) {
            track.prefetch(i + Track::kPrefetchAhead);
            if (!track.at(i)->isEvent()) {
                continue;
            }
            const auto& event = static_cast<const Event&>(*track.at(i));
            hasTempo = hasTempo || event.isMeta(Event::kMetaTempo);
            hasTimeSignature = hasTimeSignature || event.isMeta(Event::kMetaTimeSignature);
            hasKeySignature = hasKeySignature || event.isMeta(Event::kMetaKeySignature);
            hasName = hasName || (t == 0 && event.isMeta(Event::kMetaTrackName));
            // Only track 0 names the song: past it, only a missing tempo, meter or key is
            // looked for, and a long song is not read to its end for a name it cannot have.
            if (hasTempo && hasTimeSignature && hasKeySignature && (hasName || t > 0)) {
                break;
            }
        }
        if (hasTempo && hasTimeSignature && hasKeySignature) {
            break;
        }
    }

    Track& track0 = song_.track(0);
    const std::span<const std::uint8_t> noData;
    if (!hasTempo) {
        const int bpm = song_.timing().defaultTempo > 0 ? song_.timing().defaultTempo : 120;
        track0.add(
            std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaTempo, bpm, 0));
    }
    if (!hasTimeSignature) {
        const TimeSignature& signature = song_.timeSignature;
        track0.add(std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaTimeSignature,
                                           signature.beatsPerBar, signature.beatUnit));
    }
    if (!hasKeySignature) {
        track0.add(std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaKeySignature,
                                           song_.keySignatureSum(), 0));
    }
    if (!hasName && !track0Name_.empty()) {
        auto name =
            std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaTrackName, 0, 0);
        name->setData(track0Name_);
        track0.add(std::move(name));
    }
}

void SongEncoder::encodeEvent(ByteStream& out, const Event& event, const OMBData& song,
                              bool playFormat) {
    const int status = event.status();
    if (!Event::fileKeeps(status)) {
        return;
    }
    if (status == Event::kStatusMeta) {
        if (!playFormat || event.isMeta(Event::kMetaTempo)) {
            encodeMeta(out, event, song);
        }
        return;
    }
    appendDelta(out, event.time());
    if (Event::hasTwoDataBytes(status)) {
        out.appendMessage(static_cast<std::uint8_t>(status), dataByte(event.data1()),
                          dataByte(event.data2()));
        return;
    }
    out.appendByte(status);
    if (status < 0xE0 || status == 0xF3) {
        out.appendByte(dataByte(event.data1()));
    } else if (status == 0xF0 || status == 0xF7) {
        out.appendVlq(static_cast<std::uint32_t>(event.data().size()));
        out.appendBytes(event.data());
    }
}
