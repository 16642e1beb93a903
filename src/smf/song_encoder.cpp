#include "smf/song_encoder.h"

#include <algorithm>
#include <memory>

#include "platform/ui.h"
#include "platform/wait_cursor.h"

namespace {

constexpr int kMergeTrack = 33;
constexpr int kElementsPerBusyStep = 601;
constexpr int kNoteOnMark = 0x90;
constexpr int kNoteOffMark = 0x80;
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

void appendTimeSignature(ByteStream& out, int numerator, bool eighths) {
    const std::uint8_t bytes[] = {0xFF,
                                  Event::kMetaTimeSignature,
                                  4,
                                  static_cast<std::uint8_t>(numerator),
                                  static_cast<std::uint8_t>(eighths ? 3 : 2),
                                  0x24,
                                  0x08};
    out.appendBytes(bytes);
}

void appendKeySignature(ByteStream& out, int sharps) {
    const std::uint8_t bytes[] = {0xFF, Event::kMetaKeySignature, 2,
                                  static_cast<std::uint8_t>(sharps), 0};
    out.appendBytes(bytes);
}

void appendText(ByteStream& out, int type, std::span<const std::uint8_t> text) {
    out.appendByte(0xFF);
    out.appendByte(type);
    out.appendVlq(static_cast<std::uint32_t>(text.size()));
    out.appendBytes(text);
}

void appendDelta(ByteStream& out, int time) {
    out.appendVlq(static_cast<std::uint32_t>(time - out.lastTime));
    out.lastTime = time;
}

// A meta event with its delta; text (1) and synth-specific (127) metas are not written.
void encodeMeta(ByteStream& out, const Event& event, const OMBData& song) {
    const SongTiming& timing = song.timing();
    switch (event.data1()) {
        case Event::kMetaTrackName:
            if (event.hasData()) {
                appendDelta(out, event.time());
                appendText(out, Event::kMetaTrackName, event.data());
            }
            return;
        case Event::kMetaTempo:
            appendDelta(out, event.time());
            appendTempo(out, usPerQuarter(event, timing.defaultTempo));
            return;
        case Event::kMetaTimeSignature:
            appendDelta(out, event.time());
            appendTimeSignature(out, event.data2() > 0 ? event.data2() : timing.beatsPerBar,
                                event.data3() == 8 || timing.beatUnit == 8);
            return;
        case Event::kMetaKeySignature:
            appendDelta(out, event.time());
            // Each event keeps its own key. The song's key is only the last one read: written in
            // place of a change to flats or C major, it would move the keys of the song about.
            appendKeySignature(out, event.data2());
            return;
        default:
            return;
    }
}

}  // namespace

SongEncoder::SongEncoder(OMBData& song, std::string track0Name, Ui& ui)
    : song_(song),
      track0Name_(std::move(track0Name)),
      ui_(ui),
      busyCursor_(ui, kElementsPerBusyStep) {}

SongEncoder::Streams SongEncoder::encode() {
    const WaitCursor waitCursor(ui_);
    Streams streams;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        if (t == 0 || !song_.track(t).empty()) {
            encodeTrack(t, streams[t]);
        }
    }
    return streams;
}

void SongEncoder::encodeTrack(int t, ByteStream& out) {
    const Track& track = song_.track(t);
    out.clear();
    out.reserve(9 * static_cast<std::size_t>(track.count()) + 236);

    Track merged(kMergeTrack);
    int hint = 0;
    for (int i = 0; i < track.count(); ++i) {
        busyCursor_.countItem();
        const Element& element = *track.at(i);
        if (element.isNote()) {
            const auto& note = static_cast<const Note&>(element);
            merged.addWithHint(
                std::make_unique<Note>(note.start(), note.velocity(), kNoteOnMark + t,
                                       note.position(), note.accidental(), note.channel()),
                hint);
            merged.addWithHint(
                std::make_unique<Note>(note.start() + note.duration(), note.velocity(),
                                       kNoteOffMark + t, note.position(), note.accidental(),
                                       note.channel()),
                hint);
        } else {
            merged.addWithHint(std::make_unique<Event>(static_cast<const Event&>(element)), hint);
        }
    }

    if (t == 0) {
        writeTrackZeroDefaults(merged, out);
    }
    for (int i = 0; i < merged.count(); ++i) {
        encodeElement(out, *merged.at(i), song_);
    }
    const std::uint8_t endOfTrack[] = {0x00, 0xFF, 0x2F, 0x00};
    out.appendBytes(endOfTrack);
}

void SongEncoder::writeTrackZeroDefaults(const Track& merged, ByteStream& out) {
    bool hasTempo = false;
    bool hasTimeSignature = false;
    bool hasKeySignature = false;
    bool hasName = false;
    for (int i = 0; i < merged.count() && merged.at(i)->time() == 0; ++i) {
        if (!merged.at(i)->isEvent()) {
            continue;
        }
        const auto& event = static_cast<const Event&>(*merged.at(i));
        hasTempo = hasTempo || event.isMeta(Event::kMetaTempo);
        hasTimeSignature = hasTimeSignature || event.isMeta(Event::kMetaTimeSignature);
        hasKeySignature = hasKeySignature || event.isMeta(Event::kMetaKeySignature);
        hasName = hasName || event.isMeta(Event::kMetaTrackName);
    }

    const SongTiming& timing = song_.timing();
    Track& track0 = song_.track(0);
    const std::span<const std::uint8_t> noData;
    if (!hasTempo) {
        out.appendByte(0);
        appendTempo(out, usPerQuarter(timing.defaultTempo, timing.defaultTempo));
        track0.add(std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaTempo,
                                           timing.defaultTempo, 0));
    }
    if (!hasTimeSignature) {
        out.appendByte(0);
        appendTimeSignature(out, timing.beatsPerBar, timing.beatUnit == 8);
        track0.add(std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaTimeSignature,
                                           timing.beatsPerBar, timing.beatUnit));
    }
    if (!hasKeySignature) {
        out.appendByte(0);
        appendKeySignature(out, song_.keySignatureSum());
        track0.add(std::make_unique<Event>(0, Event::kStatusMeta, noData, Event::kMetaKeySignature,
                                           song_.keySignatureSum(), 0));
    }
    if (!hasName) {
        if (!track0Name_.empty()) {
            out.appendByte(0);
            appendText(
                out, Event::kMetaTrackName,
                {reinterpret_cast<const std::uint8_t*>(track0Name_.data()), track0Name_.size()});
        }
    }
}

void SongEncoder::encodeElement(ByteStream& out, const Element& element, const OMBData& song) {
    if (element.isNote()) {
        const auto& note = static_cast<const Note&>(element);
        const bool on = note.duration() >= kNoteOnMark;
        appendDelta(out, note.start());
        out.appendByte((on ? 0x90 : 0x80) + (note.channel() & 0x0F));
        out.appendByte(song.keyOf(note.position(), note.accidental()));
        out.appendByte(note.velocity());
        return;
    }
    encodeEvent(out, static_cast<const Event&>(element), song, false);
}

void SongEncoder::encodeEvent(ByteStream& out, const Event& event, const OMBData& song,
                              bool playFormat) {
    const int status = event.status();
    if (status < 0xA0 || status == 0xF1 || status == 0xF4 || status == 0xF5) {
        return;
    }
    if (status == Event::kStatusMeta) {
        if (!playFormat || event.isMeta(Event::kMetaTempo)) {
            encodeMeta(out, event, song);
        }
        return;
    }
    appendDelta(out, event.time());
    out.appendByte(status);
    if (status < 0xC0 || (status >= 0xE0 && status < 0xF0) || status == 0xF2) {
        out.appendByte(event.data1());
        out.appendByte(event.data2());
    } else if (status < 0xE0 || status == 0xF3) {
        out.appendByte(event.data1());
    } else if (status == 0xF0 || status == 0xF7) {
        out.appendVlq(static_cast<std::uint32_t>(event.data().size()));
        out.appendBytes(event.data());
    }
}
