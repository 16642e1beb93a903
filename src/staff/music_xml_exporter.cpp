#include "staff/music_xml_exporter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "model/beat_division.h"
#include "model/omb_data.h"
#include "platform/replace_file.h"
#include "platform/ui.h"
#include "staff/duration_glyph.h"

namespace {

using namespace std::string_view_literals;

using Ticks = std::int64_t;

constexpr int kUpperStaff = 1;
constexpr int kLowerStaff = 2;
// Drawn positions from here down sit on the bass staff (see pitch.h: the gap between the
// staves).
constexpr int kLowerStaffPosition = 105;
// Voices of the lower staff are numbered from here up, as notation programs expect, unless
// the upper staff needs more.
constexpr int kVoicesPerStaff = 4;
constexpr std::int64_t kGridPerQuarter = 48;

constexpr int kMetaCopyright = 2;
constexpr int kMetaLyric = 5;
constexpr int kMetaMarker = 6;
constexpr int kMetaCuePoint = 7;

// Whole note first; a value's length is 4 quarters / 2^index.
constexpr std::string_view kTypeNames[] = {"whole", "half", "quarter", "eighth", "16th",
                                           "32nd",  "64th", "128th",   "256th"};
constexpr int kTypeCount = 9;
// What the staff draws a length of zero as: a thirty-second.
constexpr int kGraceType = 5;

// One written note value: a plain value with dots, or a plain value of a triplet.
struct Piece {
    Ticks units;
    int type;
    int dots;
    bool triplet;
};

// Cuts lengths into the note values that hold them, longest first, for a given number of
// units per quarter note.
class PieceCutter {
public:
    // Lengths up to longest units (a bar) are cut into the fewest values.
    PieceCutter(Ticks unitsPerQuarter, Ticks longest) {
        const Ticks whole = 4 * unitsPerQuarter;
        for (int type = 0; type < kTypeCount; ++type) {
            const Ticks power = Ticks{1} << type;
            add(whole * 1, power, {0, type, 0, false});
            add(whole * 3, power * 2, {0, type, 1, false});
            add(whole * 7, power * 4, {0, type, 2, false});
            add(whole * 2, power * 3, {0, type, 0, true});
        }
        std::stable_sort(values_.begin(), values_.end(),
                         [](const Piece& a, const Piece& b) { return a.units > b.units; });
        // Fewest values first, then fewest triplets and dots; among equals the longest first.
        cost_.assign(static_cast<std::size_t>(longest) + 1, kNoWay);
        choice_.assign(cost_.size(), 0);
        cost_[0] = 0;
        for (std::size_t length = 1; length < cost_.size(); ++length) {
            for (std::size_t v = 0; v < values_.size(); ++v) {
                const Piece& piece = values_[v];
                const auto units = static_cast<std::size_t>(piece.units);
                if (units > length || cost_[length - units] == kNoWay) {
                    continue;
                }
                const int cost = cost_[length - units] + 8 + (piece.triplet ? 3 : 0) + piece.dots;
                if (cost < cost_[length]) {
                    cost_[length] = cost;
                    choice_[length] = static_cast<int>(v);
                }
            }
        }
    }

    // The values, tied in this order, that make up length (> 0): the fewest that do, longest
    // first, as a musician writes a long note tied over. A length no values make up takes the
    // longest plain or dotted values that fit; a remainder shorter than every value is written
    // with the shortest type and its own length.
    const std::vector<Piece>& cut(Ticks length) {
        const auto known = cache_.find(length);
        if (known != cache_.end()) {
            return known->second;
        }
        std::vector<Piece> pieces;
        Ticks left = length;
        if (length < static_cast<Ticks>(cost_.size()) && cost_[length] != kNoWay) {
            for (; left > 0; left -= values_[choice_[left]].units) {
                pieces.push_back(values_[choice_[left]]);
            }
            std::stable_sort(pieces.begin(), pieces.end(),
                             [](const Piece& a, const Piece& b) { return a.units > b.units; });
        }
        while (left > 0) {
            const Piece* exact = find([&](const Piece& p) { return p.units == left; });
            if (exact) {
                pieces.push_back(*exact);
                break;
            }
            const Piece* next = find([&](const Piece& p) { return p.units < left && !p.triplet; });
            if (!next) {
                next = find([&](const Piece& p) { return p.units < left; });
            }
            if (!next) {
                pieces.push_back({left, kTypeCount - 1, 0, false});
                break;
            }
            pieces.push_back(*next);
            left -= next->units;
        }
        return cache_.emplace(length, std::move(pieces)).first->second;
    }

    // The longest plain value that starts a rest at offset units into a bar and ends by
    // offset + left: rests fall on the beats of their own value, as a musician writes them.
    // Null when no plain value is aligned there.
    const Piece* alignedRest(Ticks offset, Ticks left) const {
        return find([&](const Piece& p) {
            return p.dots == 0 && !p.triplet && p.units <= left && offset % p.units == 0;
        });
    }

private:
    // A value of numerator / denominator units, kept when that is a whole number.
    void add(Ticks numerator, Ticks denominator, Piece piece) {
        if (numerator % denominator == 0) {
            piece.units = numerator / denominator;
            values_.push_back(piece);
        }
    }

    template <typename Test>
    const Piece* find(Test test) const {
        const auto found = std::find_if(values_.begin(), values_.end(), test);
        return found == values_.end() ? nullptr : &*found;
    }

    static constexpr int kNoWay = INT_MAX;
    std::vector<Piece> values_;
    std::vector<int> cost_;    // by length: the cost of its cheapest cut, kNoWay for none
    std::vector<int> choice_;  // by length: the value its cheapest cut takes first
    std::unordered_map<Ticks, std::vector<Piece>> cache_;
};

// A pitch as MusicXML spells it.
struct SpelledPitch {
    char step;
    int alter;
    int octave;
    int shown;  // the accidental the staff draws: -1, 1, 2 natural, 0 none
    int staff;
};

SpelledPitch spell(const Note& note, const KeySignature& keySignature) {
    static constexpr char kSteps[] = "C?D?EF?G?A?B";
    const StaffPitch drawn = adjustAccidental({note.position(), note.accidental()}, keySignature);
    const int natural = keyOf(drawn.position, 0);
    int alter = drawn.accidental;
    if (drawn.accidental == 0) {
        alter = accidentalFromKeySignature(drawn.position, keySignature);
    } else if (drawn.accidental == 2) {
        alter = 0;
    }
    return {kSteps[natural % 12], alter, natural / 12 - 1, drawn.accidental,
            drawn.position < kLowerStaffPosition ? kUpperStaff : kLowerStaff};
}

struct ScoreNote {
    Ticks start;
    Ticks end;
    int key;
    SpelledPitch pitch;
};

// Notes of one staff with the same start and end, written as one chord.
struct Chord {
    Ticks start;
    Ticks end;
    int first;  // index of its first note
    int count;
    int voice = 0;   // 0-based within its staff
    int lyric = -1;  // index into the part's texts, or -1
};

struct Text {
    Ticks time;
    std::string xml;  // escaped
    bool isLyric;
};

struct Tempo {
    std::uint32_t usPerQuarter;
    int bpm;
};

// The text of a meta event's bytes for XML: kept as UTF-8 when it is valid UTF-8, else read
// as Latin-1 (what older files hold); control characters, which XML 1.0 cannot hold, dropped.
std::string xmlText(std::span<const std::uint8_t> bytes) {
    std::string decoded;
    std::size_t i = 0;
    bool utf8 = true;
    while (i < bytes.size() && utf8) {
        const std::uint8_t lead = bytes[i];
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x06 ? 2
                                   : (lead >> 4) == 0x0E ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        utf8 = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; utf8 && k < length; ++k) {
            utf8 = (bytes[i + k] & 0xC0) == 0x80;
        }
        i += length;
    }
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        const std::uint8_t byte = bytes[k];
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
            continue;
        }
        switch (byte) {
            case '&':
                decoded += "&amp;";
                break;
            case '<':
                decoded += "&lt;";
                break;
            case '>':
                decoded += "&gt;";
                break;
            case '"':
                decoded += "&quot;";
                break;
            default:
                if (byte < 0x80 || utf8) {
                    decoded += static_cast<char>(byte);
                } else {
                    decoded += static_cast<char>(0xC0 | (byte >> 6));
                    decoded += static_cast<char>(0x80 | (byte & 0x3F));
                }
        }
    }
    return decoded;
}

std::string xmlText(std::string_view text) {
    return xmlText({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool holdsSoundingNote(const Track& track) {
    for (int i = 0; i < track.count(); ++i) {
        const Element& element = *track.at(i);
        if (element.isNote() && !static_cast<const Note&>(element).isRest()) {
            return true;
        }
    }
    return false;
}

// Takes the next piece of the document; false when it could not be stored.
using TextSink = std::function<bool(std::string_view)>;

// Makes the document a piece at a time, so that a large one goes to its file while it is
// made rather than being held whole.
class ScoreWriter {
public:
    explicit ScoreWriter(const OMBData& song) : song_(song) {
        for (int t = 0; t < OMBData::kTrackCount; ++t) {
            if (holdsSoundingNote(song.track(t))) {
                tracks_.push_back(t);
            }
        }
    }

    bool hasScore() const { return song_.timeDivision > 0 && !tracks_.empty(); }

    // Hands the whole document to sink; stops and returns false as soon as sink fails.
    bool write(const TextSink& sink) {
        sink_ = &sink;
        chooseUnits();
        out_.reserve(kPieceBytes + kPieceBytes / 4);
        out_ +=
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 "
            "Partwise//EN\" \"http://www.musicxml.org/dtds/partwise.dtd\">\n"
            "<score-partwise version=\"4.0\">\n"sv;
        if (!song_.title().empty()) {
            out_ += "  <work><work-title>" + xmlText(song_.title()) + "</work-title></work>\n";
        }
        writeIdentification();
        out_ += "  <part-list>\n"sv;
        for (const int t : tracks_) {
            out_ += "    <score-part id=\"P" + std::to_string(t + 1) + "\"><part-name>" +
                    partName(t) + "</part-name></score-part>\n";
        }
        out_ += "  </part-list>\n"sv;
        for (const int t : tracks_) {
            if (!writePart(t)) {
                return false;
            }
        }
        out_ += "</score-partwise>\n"sv;
        return flush();
    }

private:
    // Pieces of this size keep the text being made in the processor's cache and the writes
    // few.
    static constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

    bool flush() {
        const bool stored = (*sink_)(out_);
        out_.clear();
        return stored;
    }

    // A time on the grid of kGridPerQuarter points a quarter note, the nearest point.
    Ticks onGrid(Ticks ticks) const {
        return (2 * ticks * kGridPerQuarter + song_.timeDivision) / (2 * song_.timeDivision);
    }
    // Every time is written in grid points divided by what they all share.
    Ticks units(Ticks ticks) const { return onGrid(ticks) / reduce_; }

    void chooseUnits() {
        const TimeSignature& signature = song_.timeSignature;
        // The grid holds every value the staff draws down to a dotted thirty-second and the
        // triplets of sixteenths and thirty-seconds, and every bar line: a whole note is 192
        // points, and beat units are at most 64. A note a tick off the beat or a tick short, as
        // other programs write them, is written as the value it is drawn as.
        const Ticks barGrid =
            Ticks{4} * signature.beatsPerBar * kGridPerQuarter / signature.beatUnit;
        Ticks shared = std::gcd(kGridPerQuarter, barGrid);
        Ticks lastEnd = 0;
        const auto share = [&](Ticks ticks) { shared = std::gcd(shared, onGrid(ticks)); };
        for (const int t : tracks_) {
            trackNotes_[t] = soundingNotes(t);
            for (const ScoreNote& note : trackNotes_[t]) {
                lastEnd = std::max(lastEnd, note.end);
                share(note.start);
                share(note.end);
            }
            const Track& track = song_.track(t);
            for (int i = 0; i < track.count(); ++i) {
                const Element& element = *track.at(i);
                if (element.isNote()) {
                    const auto& note = static_cast<const Note&>(element);
                    lastEnd = std::max(lastEnd, Ticks{note.start()} + note.duration());
                } else if (isWords(static_cast<const Event&>(element))) {
                    lastEnd = std::max(lastEnd, Ticks{element.time()} + 1);
                    share(element.time());
                }
            }
        }
        for (int t = 0; t < OMBData::kTrackCount; ++t) {
            const Track& track = song_.track(t);
            for (int i = 0; i < track.count(); ++i) {
                const Element& element = *track.at(i);
                if (element.isEvent() &&
                    static_cast<const Event&>(element).isMeta(Event::kMetaTempo)) {
                    share(element.time());
                }
            }
        }
        reduce_ = shared;
        unitsPerQuarter_ = kGridPerQuarter / reduce_;
        barUnits_ = barGrid / reduce_;
        const Ticks end = units(lastEnd);
        measureCount_ = std::max<Ticks>(1, (end + barUnits_ - 1) / barUnits_);
        cutter_.emplace(unitsPerQuarter_, barUnits_);
    }

    static bool isWords(const Event& event) {
        return event.status() == Event::kStatusMeta && event.hasData() &&
               (event.data1() == Event::kMetaText || event.data1() == kMetaLyric ||
                event.data1() == kMetaMarker || event.data1() == kMetaCuePoint);
    }

    void writeIdentification() {
        out_ += "  <identification>\n"sv;
        if (!song_.author().empty()) {
            out_ += "    <creator type=\"composer\">" + xmlText(song_.author()) + "</creator>\n";
        }
        for (int t = 0; t < OMBData::kTrackCount; ++t) {
            const Track& track = song_.track(t);
            for (int i = 0; i < track.count(); ++i) {
                const Element& element = *track.at(i);
                if (element.isEvent() &&
                    static_cast<const Event&>(element).isMeta(kMetaCopyright)) {
                    out_ += "    <rights>" + xmlText(static_cast<const Event&>(element).data()) +
                            "</rights>\n";
                }
            }
        }
        out_ += "    <encoding><software>tolvar 32</software></encoding>\n  </identification>\n"sv;
    }

    std::string partName(int t) const {
        const Track& track = song_.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            if (element.isEvent()) {
                const auto& event = static_cast<const Event&>(element);
                if (event.isMeta(Event::kMetaTrackName) && event.hasData()) {
                    return xmlText(event.data());
                }
            }
        }
        return "Track " + std::to_string(t + 1);
    }

    void number(Ticks value) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        out_.append(digits, result.ptr);
    }

    static bool inStaffOrder(const ScoreNote& a, const ScoreNote& b) {
        return std::tie(a.pitch.staff, a.start, a.end, a.key) <
               std::tie(b.pitch.staff, b.start, b.end, b.key);
    }

    // The track's sounding notes in ticks, in staff order. A note played a little short of the
    // value the staff draws it as (a quarter held for 110 of 120 ticks) is written as that
    // value, when no note of its staff starts before the value ends: what the window shows and
    // a musician writes, not an eighth tied to a dotted sixteenth and a rest.
    std::vector<ScoreNote> soundingNotes(int t) const {
        std::vector<ScoreNote> notes;
        const Track& track = song_.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            if (element.isNote() && !static_cast<const Note&>(element).isRest()) {
                const auto& note = static_cast<const Note&>(element);
                notes.push_back({note.start(), Ticks{note.start()} + note.duration(),
                                 keyOf(note.position(), note.accidental()),
                                 spell(note, song_.keySignature)});
            }
        }
        std::sort(notes.begin(), notes.end(), inStaffOrder);
        Ticks nextStart = -1;  // the next later start on the staff, -1 for none
        for (std::size_t i = notes.size(); i-- > 0;) {
            ScoreNote& note = notes[i];
            if (i + 1 < notes.size() && notes[i + 1].pitch.staff != note.pitch.staff) {
                nextStart = -1;
            } else if (i + 1 < notes.size() && notes[i + 1].start != note.start) {
                nextStart = notes[i + 1].start;
            }
            const Ticks duration = note.end - note.start;
            const GlyphChoice drawn =
                durationToGlyph(static_cast<int>(std::min<Ticks>(duration, INT_MAX)),
                                Note::kLowestSoundingVelocity, song_.timeDivision);
            Ticks value = noteValueDuration(drawn.glyph, song_.timeDivision);
            value = drawn.dotted ? value * 3 / 2 : value;
            if (value > duration && (value - duration) * 4 <= duration &&
                (nextStart < 0 || note.start + value <= nextStart)) {
                note.end = note.start + value;
            }
        }
        std::sort(notes.begin(), notes.end(), inStaffOrder);
        return notes;
    }

    // The part's notes by staff, then start, then end, then pitch; its chords and voices.
    void collect(int t) {
        notes_ = std::move(trackNotes_[t]);
        for (ScoreNote& note : notes_) {
            note.start = units(note.start);
            note.end = units(note.end);
        }
        std::sort(notes_.begin(), notes_.end(), inStaffOrder);
        chords_.clear();
        texts_.clear();
        const Track& track = song_.track(t);
        for (int i = 0; i < track.count(); ++i) {
            const Element& element = *track.at(i);
            if (element.isEvent() && isWords(static_cast<const Event&>(element))) {
                const auto& event = static_cast<const Event&>(element);
                texts_.push_back(
                    {units(event.time()), xmlText(event.data()), event.data1() == kMetaLyric});
            }
        }
        for (int i = 0; i < static_cast<int>(notes_.size()); ++i) {
            const ScoreNote& note = notes_[i];
            if (!chords_.empty()) {
                const ScoreNote& first = notes_[chords_.back().first];
                if (first.pitch.staff == note.pitch.staff && first.start == note.start &&
                    first.end == note.end) {
                    ++chords_.back().count;
                    continue;
                }
            }
            chords_.push_back({note.start, note.end, i, 1});
        }
        assignVoices();
        attachLyrics();
    }

    // Each chord goes to the first voice of its staff that is free at its start.
    void assignVoices() {
        voiceCount_ = {0, 0, 0};
        std::vector<Ticks> voiceEnds;
        int staff = 0;
        for (Chord& chord : chords_) {
            const int chordStaff = notes_[chord.first].pitch.staff;
            if (chordStaff != staff) {
                staff = chordStaff;
                voiceEnds.clear();
            }
            const auto free = std::find_if(voiceEnds.begin(), voiceEnds.end(),
                                           [&](Ticks end) { return end <= chord.start; });
            chord.voice = static_cast<int>(free - voiceEnds.begin());
            if (free == voiceEnds.end()) {
                voiceEnds.push_back(chord.end);
            } else {
                *free = chord.end;
            }
            voiceCount_[staff] = std::max(voiceCount_[staff], chord.voice + 1);
        }
        for (const int s : {kUpperStaff, kLowerStaff}) {
            voiceCount_[s] = std::max(voiceCount_[s], 1);
        }
    }

    // A lyric belongs to the first chord that starts with it, the upper staff's first; one
    // that starts no chord stays words.
    void attachLyrics() {
        std::map<Ticks, int> lyricAt;
        for (int i = static_cast<int>(texts_.size()) - 1; i >= 0; --i) {
            if (texts_[i].isLyric) {
                lyricAt[texts_[i].time] = i;
            }
        }
        for (Chord& chord : chords_) {
            const auto found = lyricAt.find(chord.start);
            if (found != lyricAt.end() && chord.end > chord.start) {
                chord.lyric = found->second;
                lyricAt.erase(found);
            }
        }
        for (auto& text : texts_) {
            text.isLyric = false;
        }
        for (const Chord& chord : chords_) {
            if (chord.lyric >= 0) {
                texts_[chord.lyric].isLyric = true;
            }
        }
    }

    int voiceNumber(int staff, int voice) const {
        return staff == kUpperStaff
                   ? voice + 1
                   : std::max(kVoicesPerStaff, voiceCount_[kUpperStaff]) + voice + 1;
    }

    // False when the sink failed.
    bool writePart(int t) {
        collect(t);
        if (t == tracks_.front()) {
            collectTempi();
        } else {
            tempi_.clear();
        }
        // Per staff and voice, the index of the next chord to write.
        std::vector<std::vector<int>> voiceChords[3];
        for (const int s : {kUpperStaff, kLowerStaff}) {
            voiceChords[s].assign(voiceCount_[s], {});
        }
        for (int c = 0; c < static_cast<int>(chords_.size()); ++c) {
            const Chord& chord = chords_[c];
            voiceChords[notes_[chord.first].pitch.staff][chord.voice].push_back(c);
        }
        std::vector<std::size_t> cursor[3];
        for (const int s : {kUpperStaff, kLowerStaff}) {
            cursor[s].assign(voiceCount_[s], 0);
        }
        std::size_t nextText = 0;
        auto nextTempo = tempi_.begin();
        out_ += "  <part id=\"P" + std::to_string(t + 1) + "\">\n";
        for (Ticks m = 0; m < measureCount_; ++m) {
            const Ticks measureStart = m * barUnits_;
            const Ticks measureEnd = measureStart + barUnits_;
            out_ += "    <measure number=\""sv;
            number(m + 1);
            out_ += "\">\n"sv;
            if (m == 0) {
                writeAttributes();
            }
            for (; nextTempo != tempi_.end() && nextTempo->first < measureEnd; ++nextTempo) {
                writeTempo(nextTempo->first - measureStart, nextTempo->second);
            }
            for (; nextText < texts_.size() && texts_[nextText].time < measureEnd; ++nextText) {
                if (!texts_[nextText].isLyric) {
                    writeWords(texts_[nextText].time - measureStart, texts_[nextText].xml);
                }
            }
            bool first = true;
            for (const int s : {kUpperStaff, kLowerStaff}) {
                for (int v = 0; v < voiceCount_[s]; ++v) {
                    const std::vector<int>& chords = voiceChords[s][v];
                    std::size_t& next = cursor[s][v];
                    const bool used =
                        next < chords.size() && chords_[chords[next]].start < measureEnd;
                    if (v > 0 && !used) {
                        continue;
                    }
                    if (!first) {
                        out_ += "      <backup><duration>"sv;
                        number(barUnits_);
                        out_ += "</duration></backup>\n"sv;
                    }
                    first = false;
                    writeVoice(s, v, chords, next, measureStart, measureEnd);
                }
            }
            out_ += "    </measure>\n"sv;
            if (out_.size() >= kPieceBytes && !flush()) {
                return false;
            }
        }
        out_ += "  </part>\n"sv;
        return true;
    }

    void collectTempi() {
        tempi_.clear();
        for (int t = 0; t < OMBData::kTrackCount; ++t) {
            const Track& track = song_.track(t);
            for (int i = 0; i < track.count(); ++i) {
                const Element& element = *track.at(i);
                if (!element.isEvent()) {
                    continue;
                }
                const auto& event = static_cast<const Event&>(element);
                if (event.isMeta(Event::kMetaTempo) && event.usPerQuarter() > 0) {
                    tempi_[units(event.time())] = {event.usPerQuarter(), event.data2()};
                }
            }
        }
        if (!tempi_.contains(0)) {
            const int bpm = song_.timing().defaultTempo;
            tempi_[0] = {Event::usPerQuarterOf(bpm), bpm};
        }
        tempi_.erase(tempi_.lower_bound(measureCount_ * barUnits_), tempi_.end());
    }

    void writeAttributes() {
        out_ += "      <attributes>\n        <divisions>"sv;
        number(unitsPerQuarter_);
        out_ += "</divisions>\n        <key><fifths>"sv;
        number(song_.keySignatureSum());
        out_ += "</fifths><mode>"sv;
        out_ += isMinor() ? "minor" : "major";
        out_ += "</mode></key>\n        <time><beats>"sv;
        number(song_.timeSignature.beatsPerBar);
        out_ += "</beats><beat-type>"sv;
        number(song_.timeSignature.beatUnit);
        out_ +=
            "</beat-type></time>\n        <staves>2</staves>\n"
            "        <clef number=\"1\"><sign>G</sign><line>2</line></clef>\n"
            "        <clef number=\"2\"><sign>F</sign><line>4</line></clef>\n"
            "      </attributes>\n"sv;
    }

    bool isMinor() const {
        const auto places = song_.metaAtStart(Event::kMetaKeySignature);
        if (places.empty()) {
            return false;
        }
        const Element& element = *song_.track(places.front().track).at(places.front().index);
        return static_cast<const Event&>(element).data3() == 1;
    }

    void writeOffset(Ticks offset) {
        if (offset > 0) {
            out_ += "<offset>"sv;
            number(offset);
            out_ += "</offset>"sv;
        }
    }

    void writeTempo(Ticks offset, const Tempo& tempo) {
        out_ +=
            "      <direction placement=\"above\"><direction-type><metronome><beat-unit>"
            "quarter</beat-unit><per-minute>"sv;
        number(tempo.bpm);
        out_ += "</per-minute></metronome></direction-type>"sv;
        writeOffset(offset);
        out_ += "<staff>1</staff><sound tempo=\""sv;
        // Hundredths of a quarter per minute keep a file's odd tempo (128.98) close.
        const Ticks hundredths =
            (Ticks{6'000'000'000} + tempo.usPerQuarter / 2) / tempo.usPerQuarter;
        number(hundredths / 100);
        if (hundredths % 100 != 0) {
            out_ += '.';
            out_ += static_cast<char>('0' + hundredths % 100 / 10);
            if (hundredths % 10 != 0) {
                out_ += static_cast<char>('0' + hundredths % 10);
            }
        }
        out_ += "\"/></direction>\n"sv;
    }

    void writeWords(Ticks offset, const std::string& xml) {
        out_ += "      <direction placement=\"above\"><direction-type><words>" + xml +
                "</words></direction-type>";
        writeOffset(offset);
        out_ += "<staff>1</staff></direction>\n"sv;
    }

    // One voice through one bar: its chords, rests in the gaps and to the bar's end.
    void writeVoice(int staff, int voice, const std::vector<int>& chords, std::size_t& next,
                    Ticks measureStart, Ticks measureEnd) {
        const int number = voiceNumber(staff, voice);
        Ticks at = measureStart;
        while (next < chords.size() && chords_[chords[next]].start < measureEnd) {
            const Chord& chord = chords_[chords[next]];
            const Ticks from = std::max(chord.start, measureStart);
            const Ticks to = std::min(chord.end, measureEnd);
            if (from > at) {
                writeRests(staff, number, at - measureStart, from - at, false);
            }
            writeChord(chord, number, from, to, chord.start<measureStart, chord.end> measureEnd);
            at = to;
            if (chord.end > measureEnd) {
                break;
            }
            ++next;
        }
        if (at < measureEnd) {
            writeRests(staff, number, at - measureStart, measureEnd - at, at == measureStart);
        }
    }

    void writeRests(int staff, int voice, Ticks offset, Ticks length, bool wholeBar) {
        if (wholeBar) {
            out_ += "      <note><rest measure=\"yes\"/><duration>"sv;
            number(length);
            out_ += "</duration><voice>"sv;
            number(voice);
            out_ += "</voice><staff>"sv;
            number(staff);
            out_ += "</staff></note>\n"sv;
            return;
        }
        std::vector<Piece> pieces;
        while (length > 0) {
            const Piece* aligned = cutter_->alignedRest(offset, length);
            if (!aligned) {
                // The shortest value of the cut first, which brings the rest onto a beat.
                aligned = &cutter_->cut(length).back();
            }
            pieces.push_back(*aligned);
            offset += aligned->units;
            length -= aligned->units;
        }
        for (const Piece& piece : pieces) {
            out_ += "      <note><rest/><duration>"sv;
            number(piece.units);
            out_ += "</duration><voice>"sv;
            number(voice);
            out_ += "</voice>"sv;
            writeValue(piece);
            writeTimeModification(piece);
            out_ += "<staff>"sv;
            number(staff);
            out_ += "</staff></note>\n"sv;
        }
    }

    void writeTimeModification(const Piece& piece) {
        if (piece.triplet) {
            out_ +=
                "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes>"
                "</time-modification>"sv;
        }
    }

    void writeValue(const Piece& piece) {
        out_ += "<type>"sv;
        out_ += kTypeNames[piece.type];
        out_ += "</type>"sv;
        for (int d = 0; d < piece.dots; ++d) {
            out_ += "<dot/>"sv;
        }
    }

    void writeChord(const Chord& chord, int voice, Ticks from, Ticks to, bool tiedFromBefore,
                    bool tiedOnward) {
        if (from == to) {
            for (int n = 0; n < chord.count; ++n) {
                writeNote(notes_[chord.first + n], n > 0, voice, nullptr, false, false, true, -1);
            }
            return;
        }
        const std::vector<Piece>& pieces = cutter_->cut(to - from);
        for (std::size_t p = 0; p < pieces.size(); ++p) {
            const bool stop = p > 0 || tiedFromBefore;
            const bool start = p + 1 < pieces.size() || tiedOnward;
            for (int n = 0; n < chord.count; ++n) {
                writeNote(notes_[chord.first + n], n > 0, voice, &pieces[p], stop, start, !stop,
                          n == 0 && !stop ? chord.lyric : -1);
            }
        }
    }

    // piece null: a grace note, which is how a note of no length is written.
    void writeNote(const ScoreNote& note, bool inChord, int voice, const Piece* piece, bool tieStop,
                   bool tieStart, bool showAccidental, int lyric) {
        out_ += "      <note>"sv;
        if (!piece) {
            out_ += "<grace slash=\"yes\"/>"sv;
        }
        if (inChord) {
            out_ += "<chord/>"sv;
        }
        out_ += "<pitch><step>"sv;
        out_ += note.pitch.step;
        out_ += "</step>"sv;
        if (note.pitch.alter != 0) {
            out_ += "<alter>"sv;
            number(note.pitch.alter);
            out_ += "</alter>"sv;
        }
        out_ += "<octave>"sv;
        number(note.pitch.octave);
        out_ += "</octave></pitch>"sv;
        if (piece) {
            out_ += "<duration>"sv;
            number(piece->units);
            out_ += "</duration>"sv;
        }
        if (tieStop) {
            out_ += "<tie type=\"stop\"/>"sv;
        }
        if (tieStart) {
            out_ += "<tie type=\"start\"/>"sv;
        }
        out_ += "<voice>"sv;
        number(voice);
        out_ += "</voice>"sv;
        if (piece) {
            writeValue(*piece);
        } else {
            out_ += "<type>"sv;
            out_ += kTypeNames[kGraceType];
            out_ += "</type>"sv;
        }
        if (showAccidental && note.pitch.shown != 0) {
            static constexpr std::string_view kAccidentals[] = {"flat", "", "sharp", "natural"};
            out_ += "<accidental>"sv;
            out_ += kAccidentals[note.pitch.shown + 1];
            out_ += "</accidental>"sv;
        }
        if (piece) {
            writeTimeModification(*piece);
        }
        out_ += "<staff>"sv;
        number(note.pitch.staff);
        out_ += "</staff>"sv;
        if (tieStop || tieStart) {
            out_ += "<notations>"sv;
            if (tieStop) {
                out_ += "<tied type=\"stop\"/>"sv;
            }
            if (tieStart) {
                out_ += "<tied type=\"start\"/>"sv;
            }
            out_ += "</notations>"sv;
        }
        if (lyric >= 0) {
            out_ += "<lyric number=\"1\"><syllabic>single</syllabic><text>" + texts_[lyric].xml +
                    "</text></lyric>";
        }
        out_ += "</note>\n"sv;
    }

    const OMBData& song_;
    std::vector<int> tracks_;
    const TextSink* sink_ = nullptr;
    std::string out_;  // made and not yet handed to the sink
    Ticks reduce_ = 1;
    Ticks unitsPerQuarter_ = 1;
    Ticks barUnits_ = 1;
    Ticks measureCount_ = 1;
    std::optional<PieceCutter> cutter_;
    std::vector<ScoreNote> notes_;
    // Each part's notes in ticks, from choosing the units until the part is written.
    std::array<std::vector<ScoreNote>, OMBData::kTrackCount> trackNotes_;
    std::vector<Chord> chords_;
    std::vector<Text> texts_;
    std::array<int, 3> voiceCount_{};
    std::map<Ticks, Tempo> tempi_;
};

}  // namespace

MusicXmlExporter::MusicXmlExporter(Ui& ui) : ui_(ui) {}

std::string MusicXmlExporter::scoreText(const OMBData& song) {
    ScoreWriter writer(song);
    std::string text;
    if (writer.hasScore()) {
        writer.write([&](std::string_view piece) {
            text += piece;
            return true;
        });
    }
    return text;
}

bool MusicXmlExporter::exportSong(const OMBData& song, const std::filesystem::path& file) {
    if (song.timeDivision <= 0) {
        ui_.errorBox("Time Division is 0");
        return false;
    }
    ScoreWriter writer(song);
    if (!writer.hasScore()) {
        ui_.errorBox("The song has no notes to export");
        return false;
    }
    const bool written = replaceFile(file, [&](const ByteSink& sink) {
        return writer.write([&](std::string_view piece) {
            return sink({reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()});
        });
    });
    if (!written) {
        ui_.errorBox("Could not write " + file.string());
        return false;
    }
    return true;
}
