#include "staff/music_xml_exporter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "model/beat_division.h"
#include "model/omb_data.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

// The text between <tag> (or <tag ...>) and </tag> in element, or "" when it has none.
std::string inner(const std::string& element, const std::string& tag) {
    std::size_t open = element.find("<" + tag + ">");
    std::size_t start = open + tag.size() + 2;
    if (open == std::string::npos) {
        open = element.find("<" + tag + " ");
        if (open == std::string::npos) {
            return "";
        }
        start = element.find('>', open) + 1;
    }
    return element.substr(start, element.find("</" + tag + ">", start) - start);
}

bool has(const std::string& element, const std::string& text) {
    return element.find(text) != std::string::npos;
}

// One bar of one part, as a notation program reads it: each note or rest as a short line,
// "backup" between voices and the directions.
//   <pitch or "rest"> <duration> <type>[.][.] [t3] v<voice> s<staff> [acc] [tie<] [tie>]
//   [chord] [grace] [lyric=...]
std::string noteLine(const std::string& note) {
    std::string line;
    if (has(note, "<rest")) {
        line = has(note, "measure=\"yes\"") ? "bar-rest" : "rest";
    } else {
        const std::string alter = inner(note, "alter");
        line = inner(note, "step") +
               (alter == "1"    ? "#"
                : alter == "-1" ? "b"
                : alter.empty() ? ""
                                : "?" + alter) +
               inner(note, "octave");
    }
    if (has(note, "<duration>")) {
        line += " " + inner(note, "duration");
    }
    if (has(note, "<type>")) {
        line += " " + inner(note, "type");
    }
    for (std::size_t at = note.find("<dot/>"); at != std::string::npos;
         at = note.find("<dot/>", at + 1)) {
        line += '.';
    }
    if (has(note, "<actual-notes>3</actual-notes><normal-notes>2</normal-notes>")) {
        line += " t3";
    }
    line += " v" + inner(note, "voice") + " s" + inner(note, "staff");
    if (has(note, "<accidental>")) {
        line += " " + inner(note, "accidental");
    }
    if (has(note, "<tie type=\"stop\"/>") && has(note, "<tied type=\"stop\"/>")) {
        line += " tie<";
    }
    if (has(note, "<tie type=\"start\"/>") && has(note, "<tied type=\"start\"/>")) {
        line += " tie>";
    }
    if (has(note, "<chord/>")) {
        line += " chord";
    }
    if (has(note, "<grace")) {
        line += " grace";
    }
    if (has(note, "<lyric")) {
        line += " lyric=" + inner(note, "text");
    }
    return line;
}

struct Bar {
    std::string attributes;
    std::vector<std::string> lines;
};

// part id -> its bars in order; checks that the bars are numbered from 1.
std::map<std::string, std::vector<Bar>> readScore(const std::string& xml) {
    std::map<std::string, std::vector<Bar>> parts;
    for (std::size_t part = xml.find("<part id=\""); part != std::string::npos;
         part = xml.find("<part id=\"", part + 1)) {
        const std::string id = xml.substr(part + 10, xml.find('"', part + 10) - part - 10);
        const std::size_t partEnd = xml.find("</part>", part);
        std::vector<Bar>& bars = parts[id];
        for (std::size_t measure = xml.find("<measure ", part);
             measure != std::string::npos && measure < partEnd;
             measure = xml.find("<measure ", measure + 1)) {
            const std::size_t end = xml.find("</measure>", measure);
            const std::string body = xml.substr(measure, end - measure);
            EXPECT_TRUE(has(body, "number=\"" + std::to_string(bars.size() + 1) + "\""));
            Bar bar;
            bar.attributes = inner(body, "attributes");
            std::size_t at = 0;
            while (true) {
                const std::size_t note = body.find("<note>", at);
                const std::size_t backup = body.find("<backup>", at);
                const std::size_t direction = body.find("<direction", at);
                const std::size_t next = std::min({note, backup, direction});
                if (next == std::string::npos) {
                    break;
                }
                if (next == note) {
                    at = body.find("</note>", note);
                    bar.lines.push_back(noteLine(body.substr(note, at - note)));
                } else if (next == backup) {
                    at = body.find("</backup>", backup);
                    bar.lines.push_back("backup " +
                                        inner(body.substr(backup, at - backup + 9), "duration"));
                } else {
                    at = body.find("</direction>", direction);
                    const std::string text = body.substr(direction, at - direction);
                    std::string line =
                        has(text, "<words>")
                            ? "words " + inner(text, "words")
                            : "tempo " + inner(text, "per-minute") + " sound=" +
                                  text.substr(text.find("tempo=\"") + 7,
                                              text.find("\"/>") - text.find("tempo=\"") - 7);
                    if (has(text, "<offset>")) {
                        line += " at " + inner(text, "offset");
                    }
                    bar.lines.push_back(line);
                }
            }
            bars.push_back(bar);
        }
    }
    return parts;
}

using Lines = std::vector<std::string>;

class MusicXmlExporterTest : public ::testing::Test {
protected:
    // A note of the MIDI key, spelled as a load spells it in the song's key.
    void note(int track, int start, int duration, int key) {
        const StaffPitch pitch = song.spellKey(key);
        song.track(track).add(
            std::make_unique<Note>(start, 80, duration, pitch.position, pitch.accidental, 0));
    }
    void meta(int track, int time, int type, std::string_view text) {
        auto event = std::make_unique<Event>(time, Event::kStatusMeta,
                                             std::span<const std::uint8_t>(), type, 0, 0);
        event->setData(text);
        song.track(track).add(std::move(event));
    }
    void tempo(int time, std::uint32_t usPerQuarter) {
        auto event =
            std::make_unique<Event>(time, Event::kStatusMeta, std::span<const std::uint8_t>(),
                                    Event::kMetaTempo, Event::bpmOf(usPerQuarter), 0);
        event->setFileTempo(usPerQuarter);
        song.track(0).add(std::move(event));
    }
    std::vector<Bar> bars(const std::string& part = "P1") {
        xml = MusicXmlExporter::scoreText(song);
        return readScore(xml)[part];
    }

    SongTiming timing;
    OMBData song{timing};
    std::string xml;
};

TEST_F(MusicXmlExporterTest, AMelodyGoesOutBarByBarWithItsKeyMeterTempoAndRestsFillingEveryBar) {
    // C major, 4/4, 120 ticks a quarter: a quarter, an eighth rest, an eighth, a half; then
    // a bar left empty before a last whole note.
    note(0, 0, 120, 60);
    note(0, 180, 60, 62);
    note(0, 240, 240, 64);
    note(0, 1080, 240, 67);
    const auto score = bars();
    EXPECT_TRUE(has(xml, "<score-partwise version=\"4.0\">"));
    EXPECT_TRUE(has(xml, "<score-part id=\"P1\"><part-name>Track 1</part-name>"));
    ASSERT_EQ(score.size(), 3u);
    EXPECT_EQ(score[0].attributes,
              "\n        <divisions>2</divisions>\n"
              "        <key><fifths>0</fifths><mode>major</mode></key>\n"
              "        <time><beats>4</beats><beat-type>4</beat-type></time>\n"
              "        <staves>2</staves>\n"
              "        <clef number=\"1\"><sign>G</sign><line>2</line></clef>\n"
              "        <clef number=\"2\"><sign>F</sign><line>4</line></clef>\n      ");
    EXPECT_EQ(score[0].lines,
              (Lines{"tempo 120 sound=120", "C4 2 quarter v1 s1", "rest 1 eighth v1 s1",
                     "D4 1 eighth v1 s1", "E4 4 half v1 s1", "backup 8", "bar-rest 8 v5 s2"}));
    EXPECT_EQ(score[1].lines, (Lines{"bar-rest 8 v1 s1", "backup 8", "bar-rest 8 v5 s2"}));
    EXPECT_EQ(score[2].attributes, "");
    EXPECT_EQ(score[2].lines, (Lines{"rest 2 quarter v1 s1", "G4 4 half v1 s1",
                                     "rest 2 quarter v1 s1", "backup 8", "bar-rest 8 v5 s2"}))
        << "the rest before the note's start is not a whole bar";
}

TEST_F(MusicXmlExporterTest, PitchesAreSpelledAsTheStaffDrawsThemInTheirKey) {
    // F major, minor mode: B flat with no sign, B natural with a natural sign; the black keys
    // without a letter in the key are C#, Eb, F#, Ab as the staff draws them.
    song.chooseKeySignature(-1);
    auto key = std::make_unique<Event>(0, Event::kStatusMeta, std::span<const std::uint8_t>(),
                                       Event::kMetaKeySignature, -1, 1);
    song.track(0).add(std::move(key));
    const int keys[] = {70, 71, 61, 63, 66, 68, 48, 84};
    for (int i = 0; i < 8; ++i) {
        note(0, i * 120, 120, keys[i]);
    }
    // A note stored as E sharp is drawn and written as F.
    song.track(0).add(std::make_unique<Note>(960, 80, 120, 75, 1, 0));
    const auto score = bars();
    ASSERT_EQ(score.size(), 3u);
    EXPECT_TRUE(has(score[0].attributes, "<key><fifths>-1</fifths><mode>minor</mode></key>"));
    EXPECT_EQ(score[0].lines, (Lines{"tempo 120 sound=120", "Bb4 1 quarter v1 s1",
                                     "B4 1 quarter v1 s1 natural", "C#4 1 quarter v1 s1 sharp",
                                     "Eb4 1 quarter v1 s1 flat", "backup 4", "bar-rest 4 v5 s2"}));
    EXPECT_EQ(score[1].lines,
              (Lines{"F#4 1 quarter v1 s1 sharp", "Ab4 1 quarter v1 s1 flat",
                     "rest 1 quarter v1 s1", "C6 1 quarter v1 s1", "backup 4", "rest 2 half v5 s2",
                     "C3 1 quarter v5 s2", "rest 1 quarter v5 s2"}))
        << "C3 sits on the bass staff in the third beat";
    EXPECT_EQ(score[2].lines[0], "F4 1 quarter v1 s1");
}

TEST_F(MusicXmlExporterTest, MetersKeepTheirDenominatorAndLongNotesAreTiedAcrossBarsAndWithin) {
    // 6/8 at 120 a quarter: a bar is 360 ticks. A dotted quarter, then a note of five eighths
    // that crosses the bar line, then one of a quarter and a thirty-second, then rests on the
    // beats of their values.
    song.timeSignature = {6, 8};
    note(0, 0, 180, 72);
    note(0, 180, 300, 74);
    note(0, 480, 135, 76);
    const auto score = bars();
    ASSERT_EQ(score.size(), 2u);
    EXPECT_TRUE(has(score[0].attributes, "<divisions>8</divisions>"));
    EXPECT_TRUE(has(score[0].attributes, "<time><beats>6</beats><beat-type>8</beat-type></time>"));
    EXPECT_EQ(score[0].lines,
              (Lines{"tempo 120 sound=120", "C5 12 quarter. v1 s1", "D5 12 quarter. v1 s1 tie>",
                     "backup 24", "bar-rest 24 v5 s2"}));
    EXPECT_EQ(score[1].lines,
              (Lines{"D5 8 quarter v1 s1 tie<", "E5 8 quarter v1 s1 tie>", "E5 1 32nd v1 s1 tie<",
                     "rest 1 32nd v1 s1", "rest 2 16th v1 s1", "rest 4 eighth v1 s1", "backup 24",
                     "bar-rest 24 v5 s2"}));
}

TEST_F(MusicXmlExporterTest, ANoteInTheGapGoesToTheStaffWhoseLedgerLinesTheWindowDrawsForIt) {
    // Position 100 hangs from the treble staff's ledger lines, 105 from the bass staff's.
    song.track(0).add(std::make_unique<Note>(0, 80, 120, 100, 0, 0));
    song.track(0).add(std::make_unique<Note>(120, 80, 120, 105, 0, 0));
    const auto score = bars();
    ASSERT_EQ(score.size(), 1u);
    EXPECT_EQ(score[0].lines,
              (Lines{"tempo 120 sound=120", "G3 1 quarter v1 s1", "rest 1 quarter v1 s1",
                     "rest 2 half v1 s1", "backup 4", "rest 1 quarter v5 s2", "G4 1 quarter v5 s2",
                     "rest 2 half v5 s2"}));
}

TEST_F(MusicXmlExporterTest, ABarOfAFractionalNumberOfTicksIsAWholeNumberOfDivisions) {
    // 3/64 at 120 ticks a quarter: a bar of 22.5 ticks, as the page lays it out.
    song.timeSignature = {3, 64};
    note(0, 0, 45, 60);
    const auto score = bars();
    ASSERT_EQ(score.size(), 2u);
    EXPECT_TRUE(has(score[0].attributes, "<divisions>16</divisions>"));
    EXPECT_EQ(score[0].lines[1], "C4 3 32nd. v1 s1 tie>");
    EXPECT_EQ(score[1].lines[0], "C4 3 32nd. v1 s1 tie<");
}

TEST_F(MusicXmlExporterTest, NotesATickOffTheBeatOrATickShortAreWrittenAsTheValuesTheyAreDrawnAs) {
    // As another program wrote them at 480 ticks a quarter: a tick late and a tick short. A
    // dotted thirty-second a little short (88 of 90 ticks) stays dotted, and a note of a single
    // tick has no length on the grid: a grace note.
    song.timeDivision = 480;
    note(0, 1, 479, 60);
    note(0, 481, 239, 62);
    note(0, 721, 1199, 64);
    note(0, 1920, 88, 65);
    note(0, 2008, 1, 67);
    const auto score = bars();
    ASSERT_EQ(score.size(), 2u);
    EXPECT_TRUE(has(score[0].attributes, "<divisions>16</divisions>"));
    EXPECT_EQ(score[0].lines, (Lines{"tempo 120 sound=120", "C4 16 quarter v1 s1",
                                     "D4 8 eighth v1 s1", "E4 32 half v1 s1 tie>",
                                     "E4 8 eighth v1 s1 tie<", "backup 64", "bar-rest 64 v5 s2"}));
    EXPECT_EQ(score[1].lines,
              (Lines{"F4 3 32nd. v1 s1", "G4 32nd v1 s1 grace", "rest 1 64th v1 s1",
                     "rest 4 16th v1 s1", "rest 8 eighth v1 s1", "rest 16 quarter v1 s1",
                     "rest 32 half v1 s1", "backup 64", "bar-rest 64 v5 s2"}))
        << "rests fall on the beats of their values";
}

TEST_F(MusicXmlExporterTest, NotesPlayedALittleShortAreWrittenAsTheValueTheStaffDrawsThem) {
    // Quarters held for 110 of 120 ticks, the first a chord; a staccato eighth in a quarter's place
    // stays an eighth; a note of 100 ticks followed at once by the next stays as long as it is (an
    // eighth and a triplet eighth); the last, 350 ticks, is the dotted half the staff draws.
    note(0, 0, 110, 60);
    note(0, 0, 110, 64);
    note(0, 120, 110, 62);
    note(0, 240, 60, 64);
    note(0, 360, 100, 65);
    note(0, 460, 350, 67);
    const auto score = bars();
    ASSERT_EQ(score.size(), 2u);
    EXPECT_EQ(score[0].lines,
              (Lines{"tempo 120 sound=120", "C4 6 quarter v1 s1", "E4 6 quarter v1 s1 chord",
                     "D4 6 quarter v1 s1", "E4 3 eighth v1 s1", "rest 3 eighth v1 s1",
                     "F4 3 eighth v1 s1 tie>", "F4 2 eighth t3 v1 s1 tie<",
                     "G4 1 16th t3 v1 s1 tie>", "backup 24", "bar-rest 24 v5 s2"}));
    EXPECT_EQ(score[1].lines, (Lines{"G4 9 quarter. v1 s1 tie< tie>", "G4 8 half t3 v1 s1 tie<",
                                     "rest 1 16th t3 v1 s1", "rest 6 quarter v1 s1", "backup 24",
                                     "bar-rest 24 v5 s2"}))
        << "the rest after a triplet brings the voice back onto the beat";
}

TEST_F(MusicXmlExporterTest, ChordsShareAVoiceAndOverlappingNotesOfOtherLengthsTakeASecond) {
    // A C major triad of halves, with a melody of quarters above it that starts with it; the
    // bass holds a whole note on the lower staff.
    for (const int key : {60, 64, 67}) {
        note(0, 0, 240, key);
    }
    note(0, 0, 120, 72);
    note(0, 120, 120, 74);
    note(0, 240, 240, 76);
    note(0, 0, 480, 48);
    note(0, 0, 480, 43);
    const auto score = bars();
    ASSERT_EQ(score.size(), 1u);
    EXPECT_EQ(
        score[0].lines,
        (Lines{"tempo 120 sound=120", "C5 1 quarter v1 s1", "D5 1 quarter v1 s1", "E5 2 half v1 s1",
               "backup 4", "C4 2 half v2 s1", "E4 2 half v2 s1 chord", "G4 2 half v2 s1 chord",
               "rest 2 half v2 s1", "backup 4", "G2 4 whole v5 s2", "C3 4 whole v5 s2 chord"}));
}

TEST_F(MusicXmlExporterTest, TripletsAndNotesOfNoLengthAreWrittenAsTheirValues) {
    note(0, 0, 40, 60);
    note(0, 40, 40, 62);
    note(0, 80, 40, 64);
    note(0, 120, 0, 65);
    note(0, 120, 360, 67);
    meta(0, 120, 5, "la");
    const auto score = bars();
    ASSERT_EQ(score.size(), 1u);
    EXPECT_EQ(score[0].lines,
              (Lines{"tempo 120 sound=120", "C4 1 eighth t3 v1 s1", "D4 1 eighth t3 v1 s1",
                     "E4 1 eighth t3 v1 s1", "F4 32nd v1 s1 grace", "G4 9 half. v1 s1 lyric=la",
                     "backup 12", "bar-rest 12 v5 s2"}));
}

TEST_F(MusicXmlExporterTest, TempoChangesTextsAndLyricsGoWhereTheyHappen) {
    tempo(0, 465'172);
    tempo(480, 600'000);
    note(0, 0, 480, 60);
    note(0, 480, 240, 62);
    note(0, 720, 240, 64);
    meta(0, 0, 5, "Hel");
    meta(0, 480, 5, "lo & <bye>");
    meta(0, 600, 5, "late");
    meta(0, 720, 1, "rit.");
    // Latin-1 from an older file, with a control character XML cannot hold.
    meta(0, 720, 1, "caf\xe9\x01");
    meta(0, 0, Event::kMetaTrackName, "Flute");
    song.setTitle("Tune");
    song.setAuthor("Ann");
    const auto score = bars();
    ASSERT_EQ(score.size(), 2u);
    EXPECT_TRUE(has(xml, "<part-name>Flute</part-name>"));
    EXPECT_TRUE(has(xml, "<work-title>Tune</work-title>"));
    EXPECT_TRUE(has(xml, "<creator type=\"composer\">Ann</creator>"));
    EXPECT_EQ(score[0].lines, (Lines{"tempo 128 sound=128.98", "C4 4 whole v1 s1 lyric=Hel",
                                     "backup 4", "bar-rest 4 v5 s2"}));
    EXPECT_EQ(score[1].lines,
              (Lines{"tempo 100 sound=100", "words late at 1", "words rit. at 2",
                     "words caf\xc3\xa9 at 2", "D4 2 half v1 s1 lyric=lo &amp; &lt;bye&gt;",
                     "E4 2 half v1 s1", "backup 4", "bar-rest 4 v5 s2"}))
        << "a lyric where no note starts stays as words";
}

TEST_F(MusicXmlExporterTest, OnlyTracksWithSoundingNotesBecomePartsAndAllPartsHaveEveryBar) {
    song.track(2).add(std::make_unique<Note>(0, Note::kRestVelocity, 1920, 60, 0, 0));
    note(3, 0, 120, 60);
    note(5, 600, 120, 48);
    const std::string text = MusicXmlExporter::scoreText(song);
    const auto parts = readScore(text);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts.at("P4").size(), 2u);
    EXPECT_EQ(parts.at("P6").size(), 2u);
    EXPECT_EQ(text.find("<metronome>"), text.rfind("<metronome>")) << "the first part's only";
    EXPECT_EQ(parts.at("P6")[0].lines.front(), "bar-rest 4 v1 s1");

    song.reset();
    song.track(0).add(std::make_unique<Note>(0, Note::kRestVelocity, 120, 60, 0, 0));
    EXPECT_EQ(MusicXmlExporter::scoreText(song), "");

    // A song whose first tempo comes later starts at the program's tempo.
    timing.defaultTempo = 90;
    note(0, 0, 960, 60);
    tempo(480, 500'000);
    const auto later = bars();
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(later[0].lines.front(), "tempo 90 sound=90");
    EXPECT_EQ(later[1].lines.front(), "tempo 120 sound=120");
}

// Reads the notes back from the score: ties joined, times in ticks; and checks that every
// voice of every bar adds up to the bar.
std::vector<std::tuple<int, int, int>> notesOf(const std::string& xml, int division, int barTicks) {
    std::vector<std::tuple<int, int, int>> notes;
    for (const auto& [id, bars] : readScore(xml)) {
        const int divisions = std::stoi(inner(xml, "divisions"));
        const auto ticks = [&](int units) { return units * division / divisions; };
        std::multimap<std::pair<int, int>, std::size_t> open;  // (key, voice) -> tied note
        for (std::size_t b = 0; b < bars.size(); ++b) {
            int at = 0;
            int last = 0;
            for (const std::string& line : bars[b].lines) {
                if (line.rfind("backup ", 0) == 0) {
                    EXPECT_EQ(ticks(at), barTicks) << "bar " << b + 1;
                    at -= std::stoi(line.substr(7));
                    continue;
                }
                if (line.rfind("tempo", 0) == 0 || line.rfind("words", 0) == 0) {
                    continue;
                }
                const bool chord = line.find(" chord") != std::string::npos;
                const bool grace = line.find(" grace") != std::string::npos;
                const int length = grace ? 0 : std::stoi(line.substr(line.find(' ') + 1));
                const int start = chord ? last : at;
                last = start;
                if (!chord) {
                    at += length;
                }
                if (line[0] == 'r' || line[0] == 'b') {
                    continue;
                }
                static const std::map<char, int> kNaturals{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                                           {'G', 7}, {'A', 9}, {'B', 11}};
                const int alter = line[1] == '#' ? 1 : line[1] == 'b' ? -1 : 0;
                const int key = kNaturals.at(line[0]) + alter +
                                12 * (std::stoi(line.substr(line.find_first_of("0123456789"))) + 1);
                const int voice = std::stoi(line.substr(line.find(" v") + 2));
                const int tick = static_cast<int>(b) * barTicks + ticks(start);
                if (line.find("tie<") != std::string::npos) {
                    const auto [from, to] = open.equal_range({key, voice});
                    const auto tied = std::find_if(from, to, [&](const auto& entry) {
                        const auto& [start, duration, k] = notes[entry.second];
                        return start + duration == tick;
                    });
                    EXPECT_NE(tied, to) << line << " at " << tick;
                    if (tied != to) {
                        std::get<1>(notes[tied->second]) += ticks(length);
                    }
                } else {
                    open.emplace(std::pair(key, voice), notes.size());
                    notes.emplace_back(tick, ticks(length), key);
                }
            }
            EXPECT_EQ(ticks(at), barTicks) << "bar " << b + 1;
        }
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

TEST_F(MusicXmlExporterTest, EveryExportedPitchSoundsTheStoredNotesKeyInEveryKey) {
    for (int sharps = -7; sharps <= 7; ++sharps) {
        song.reset();
        song.chooseKeySignature(sharps);
        std::vector<std::tuple<int, int, int>> expected;
        int start = 0;
        for (int position = 0; position <= 230; position += 5) {
            for (const int accidental : {-1, 0, 1, 2}) {
                song.track(0).add(std::make_unique<Note>(start, 80, 120, position, accidental, 0));
                expected.emplace_back(start, 120, song.keyOf(position, accidental));
                start += 120;
            }
        }
        EXPECT_EQ(notesOf(MusicXmlExporter::scoreText(song), 120, 480), expected)
            << "key " << sharps;
    }
}

TEST_F(MusicXmlExporterTest, RandomSongsComeBackNoteForNoteAndEveryVoiceFillsEveryBar) {
    std::mt19937 random(33);
    const TimeSignature meters[] = {{4, 4}, {3, 4}, {6, 8}, {2, 2}, {5, 4}, {7, 8}};
    for (int round = 0; round < 40; ++round) {
        song.reset();
        song.timeDivision = 48 * (1 + static_cast<int>(random() % 10));
        song.timeSignature = meters[random() % 6];
        song.chooseKeySignature(static_cast<int>(random() % 15) - 7);
        std::vector<std::tuple<int, int, int>> expected;
        const int grid = song.timeDivision / 12;
        for (int n = 0; n < 60; ++n) {
            const int start = static_cast<int>(random() % 200) * grid;
            const int duration = static_cast<int>(random() % 60) * grid;
            const int key = 30 + static_cast<int>(random() % 70);
            note(static_cast<int>(random() % 2), start, duration, key);
            expected.emplace_back(
                start, duration,
                song.keyOf(song.spellKey(key).position, song.spellKey(key).accidental));
        }
        const std::string text = MusicXmlExporter::scoreText(song);
        auto got =
            notesOf(text, song.timeDivision, barLengthTicks(song.timeSignature, song.timeDivision));
        // Starts and keys as they are; a length as long or up to a quarter longer (a note a
        // little short of its drawn value is written as that value).
        const auto byStartAndKey = [](const auto& a, const auto& b) {
            return std::tie(std::get<0>(a), std::get<2>(a), std::get<1>(a)) <
                   std::tie(std::get<0>(b), std::get<2>(b), std::get<1>(b));
        };
        std::sort(expected.begin(), expected.end(), byStartAndKey);
        std::sort(got.begin(), got.end(), byStartAndKey);
        ASSERT_EQ(got.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < got.size(); ++i) {
            const auto& [start, length, key] = got[i];
            const auto& [expectedStart, expectedLength, expectedKey] = expected[i];
            ASSERT_EQ(std::pair(start, key), std::pair(expectedStart, expectedKey))
                << "round " << round << " note " << i;
            EXPECT_GE(length, expectedLength);
            EXPECT_LE((length - expectedLength) * 4, expectedLength);
        }
    }
}

TEST_F(MusicXmlExporterTest, AFailedExportSaysWhyAndLeavesNoFile) {
    ScratchDir dir;
    ScriptedUi ui;
    MusicXmlExporter exporter(ui);
    EXPECT_FALSE(exporter.exportSong(song, dir / "empty.musicxml"));
    EXPECT_EQ(ui.texts(), Lines{"The song has no notes to export"});
    EXPECT_FALSE(fs::exists(dir / "empty.musicxml"));

    note(0, 0, 120, 60);
    EXPECT_FALSE(exporter.exportSong(song, dir / "no" / "tune.musicxml"));
    EXPECT_EQ(ui.texts().back(), "Could not write " + (dir / "no" / "tune.musicxml").string());

    song.timeDivision = 0;
    EXPECT_FALSE(exporter.exportSong(song, dir / "tune.musicxml"));
    EXPECT_EQ(ui.texts().back(), "Time Division is 0");
    EXPECT_FALSE(fs::exists(dir / "tune.musicxml"));

    song.timeDivision = 120;
    EXPECT_TRUE(exporter.exportSong(song, dir / "tune.musicxml"));
    EXPECT_EQ(ScratchDir::read(dir / "tune.musicxml"), MusicXmlExporter::scoreText(song));
    EXPECT_EQ(ui.texts().size(), 3u);
}

// A score of several megabytes goes to its file in pieces; the file must still be the whole
// score, and a disk that fills up part way must leave the earlier export as it was.
TEST_F(MusicXmlExporterTest, AScoreOfManyPiecesArrivesWholeAndAFullDiskKeepsTheEarlierFile) {
    std::mt19937 random(35);
    for (int track = 0; track < 3; ++track) {
        for (int i = 0; i < 4000; ++i) {
            note(track, i * 60 + static_cast<int>(random() % 3) * 20,
                 30 + static_cast<int>(random() % 200), 40 + static_cast<int>(random() % 50));
        }
    }
    meta(1, 600, 5, "la");
    ScratchDir dir;
    ScriptedUi ui;
    MusicXmlExporter exporter(ui);
    const std::string whole = MusicXmlExporter::scoreText(song);
    ASSERT_GT(whole.size(), std::size_t{4} << 20);
    ASSERT_TRUE(exporter.exportSong(song, dir / "big.musicxml"));
    EXPECT_TRUE(ScratchDir::read(dir / "big.musicxml") == whole);

    ScratchDir::write(dir / "big.musicxml", "the earlier export");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{rlim_t{3} << 20, saved.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool exported = exporter.exportSong(song, dir / "big.musicxml");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(exported);
    EXPECT_EQ(ui.texts(), Lines{"Could not write " + (dir / "big.musicxml").string()});
    EXPECT_EQ(ScratchDir::read(dir / "big.musicxml"), "the earlier export");
    EXPECT_EQ(dir.entryCount(), 1);
}

}  // namespace
