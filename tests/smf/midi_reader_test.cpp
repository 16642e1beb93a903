#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line_tools.h"
#include "model/omb_data.h"
#include "smf/element_pool_failure.h"
#include "smf/midi_reader.h"
#include "smf/smf_bytes.h"
#include "support/scripted_ui.h"

namespace {

// A song loaded from bytes, with what the reader said and the listing of what it kept.
struct Loaded {
    SongTiming timing;
    OMBData song{timing};
    ScriptedUi ui;
    bool ok = false;

    explicit Loaded(const Bytes& file) {
        std::istringstream in(std::string(file.begin(), file.end()));
        ok = MidiReader(song, ui).read(in);
    }

    std::string listing() const {
        std::ostringstream out;
        writeEventListing(song, out);
        return out.str();
    }
};

const std::vector<std::string> kNoMessages;

TEST(ReaderHeader, ValuesAndBadHeaders) {
    Loaded plain(midiFile(0, 96, {{}}));
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ(plain.song.format, 0);
    EXPECT_EQ(plain.song.trackCount, 1);
    EXPECT_EQ(plain.song.timeDivision, 96);
    EXPECT_EQ(plain.ui.texts(), kNoMessages);

    Loaded notMidi(text("RIFF....WAVEfmt "));
    EXPECT_FALSE(notMidi.ok);
    EXPECT_EQ(notMidi.ui.texts(), std::vector<std::string>{"Not a valid Midi file"});
    const Bytes whole = header(1, 1, 120);
    Loaded cut(Bytes(whole.begin(), whole.begin() + 11));
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.ui.texts(), std::vector<std::string>{"Not a valid Midi file"});

    // A longer header is honoured: its extra bytes are skipped, not read as a track.
    Bytes longer = text("MThd") + be32(7) + Bytes{0, 1, 0, 1, 0, 120, 0xAA} +
                   track({0x00, 0x90, 60, 80, 0x60, 0x80, 60, 0});
    Loaded longHeader(longer);
    EXPECT_TRUE(longHeader.ok);
    EXPECT_EQ(longHeader.listing(), "T1 0 note 60 80 96 1\n");
    // One that claims more bytes than the file holds is no header.
    Loaded pastTheEnd(text("MThd") + be32(100) + Bytes{0, 1, 0, 1, 0, 120});
    EXPECT_FALSE(pastTheEnd.ok);
    EXPECT_EQ(pastTheEnd.ui.texts(), std::vector<std::string>{"Not a valid Midi file"});
}

TEST(ReaderHeader, UnsupportedDivisionsBecome120) {
    for (int division : {0x8000 | 0x1E28, 0}) {
        Loaded song(midiFile(1, division, {{0x00, 0x90, 60, 80, 0x78, 0x80, 60, 0}}));
        EXPECT_TRUE(song.ok);
        EXPECT_EQ(song.song.timeDivision, 120);
        EXPECT_EQ(song.ui.texts(),
                  std::vector<std::string>{"Unsupported Time Division - Set to 120"});
        EXPECT_EQ(song.listing(), "T1 0 note 60 80 120 1\n");
    }
}

TEST(ReaderChunks, ForeignChunksAreSkipped) {
    Bytes file = header(1, 2, 120) + chunk("XFIH", Bytes(10, 0x90)) +
                 track({0x00, 0x90, 60, 80, 0x10, 0x80, 60, 0}) + chunk("JUNK", {}) +
                 track({0x00, 0xC0, 5});
    Loaded song(file);
    EXPECT_TRUE(song.ok) << ::testing::PrintToString(song.ui.texts());
    EXPECT_EQ(song.listing(), "T1 0 note 60 80 16 1\nT2 0 event 192 5 0 0 -\n");
}

// The file is read a chunk at a time into one buffer: a chunk larger than the buffer has yet
// keeps its first bytes as the buffer grows, and the next chunk after it reads from its start.
TEST(ReaderChunks, ChunksLargerThanTheBufferAndSmallerOnesAfterThem) {
    Bytes events;
    std::string expected;
    for (int i = 0; i < 100'000; ++i) {
        events.insert(events.end(),
                      {0x01, 0xB0, std::uint8_t(i % 120), std::uint8_t(i / 120 % 128)});
        expected += "T1 " + std::to_string(i + 1) + " event 176 " + std::to_string(i % 120) + ' ' +
                    std::to_string(i / 120 % 128) + " 0 -\n";
    }
    Loaded song(header(1, 3, 120) + track(events) + chunk("XFIH", Bytes(70'000, 0x90)) +
                track({0x00, 0xC0, 5}) + track({0x00, 0xC1, 6}));
    EXPECT_TRUE(song.ok) << ::testing::PrintToString(song.ui.texts());
    EXPECT_EQ(song.listing(), expected + "T2 0 event 192 5 0 0 -\nT3 0 event 193 6 0 0 -\n");
}

TEST(ReaderChunks, MoreThanSixteenTracksKeepsTheFirstSixteen) {
    Bytes file = header(1, 20, 120);
    for (int t = 0; t < 20; ++t) {
        file = file + track({0x00, 0xC0, std::uint8_t(t)});
    }
    Loaded song(file);
    EXPECT_TRUE(song.ok);
    EXPECT_EQ(song.ui.texts(), kNoMessages);
    EXPECT_EQ(song.song.trackCount, 20);
    EXPECT_EQ(song.song.program[15], 15);
    EXPECT_EQ(song.song.track(15).count(), 1);
}

TEST(ReaderChunks, DamagedTracksStopTheLoadAndKeepWhatCameBefore) {
    const Bytes first = track({0x00, 0x90, 60, 80, 0x10, 0x80, 60, 0});
    const std::string kept = "T1 0 note 60 80 16 1\n";
    const Bytes damaged[] = {
        // the chunk claims more bytes than the file has
        text("MTrk") + be32(1000) + Bytes{0x00, 0xC0, 5},
        // a system-exclusive length beyond the chunk
        chunk("MTrk", {0x00, 0xF0, 0x20, 0x01, 0x02}),
        // a delta of five bytes
        chunk("MTrk", {0x81, 0x81, 0x81, 0x81, 0x01, 0xC0, 5}),
        // a message cut by the end of its chunk
        chunk("MTrk", {0x00, 0xB0, 7}),
        // a meta whose text runs past the chunk
        chunk("MTrk", {0x00, 0xFF, 0x03, 0x7F, 'a'}),
        // no second chunk at all
        {},
        // a chunk header cut short
        text("MTr"),
        // a second chunk that is not a chunk, with a length far past the end
        text("\x01\x02\x03\x04") + be32(0xFFFFFFF0u),
    };
    for (const Bytes& second : damaged) {
        Loaded song(header(1, 2, 120) + first + second);
        EXPECT_FALSE(song.ok);
        EXPECT_EQ(song.ui.texts(), std::vector<std::string>{"Invalid track - Open stopped"});
        EXPECT_EQ(song.listing().substr(0, kept.size()), kept);
    }

    // What a truncated chunk held before the cut is kept too.
    Loaded truncated(header(1, 1, 120) + text("MTrk") + be32(500) +
                     Bytes{0x00, 0xC0, 5, 0x00, 0xB0, 7});
    EXPECT_FALSE(truncated.ok);
    EXPECT_EQ(truncated.listing(), "T1 0 event 192 5 0 0 -\n");
    // A length that claims gigabytes is read as what the file holds, and the chunk is short
    // even where its bytes end with a whole message.
    Loaded claimsGigabytes(header(1, 1, 120) + text("MTrk") + be32(0xFFFFFFF0u) +
                           Bytes{0x00, 0xC0, 5});
    EXPECT_FALSE(claimsGigabytes.ok);
    EXPECT_EQ(claimsGigabytes.ui.texts(), std::vector<std::string>{"Invalid track - Open stopped"});
    EXPECT_EQ(claimsGigabytes.listing(), truncated.listing());

    // Time beyond 31 bits damages the track too.
    Bytes events;
    for (int i = 0; i < 9; ++i) {
        events = events + Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0xC0, 1};
    }
    Loaded late(midiFile(1, 120, {events}));
    EXPECT_FALSE(late.ok);
    EXPECT_EQ(late.song.track(0).count(), 8);
}

TEST(ReaderRunningStatus, ChannelMessagesAndNotes) {
    Loaded song(midiFile(1, 120,
                         {{
                             0x00, 0xB1, 7,  100,  0x00, 10, 64,  // control change, then running
                             0x00, 0xE2, 0,  64,   0x05, 1,  65,  // pitch bend, then running
                             0x00, 0x93, 60, 90,   0x00, 64, 91,  // two note-ons
                             0x10, 60,   0,  0x00, 67,   92,      // note-off by velocity 0, note-on
                             0x10, 0x83, 64, 50,   0x00, 67, 50,  // note-off status, then running
                         }}));
    EXPECT_TRUE(song.ok);
    EXPECT_EQ(song.listing(),
              "T1 0 event 177 7 100 0 -\n"
              "T1 0 event 177 10 64 0 -\n"
              "T1 0 event 226 0 64 0 -\n"
              "T1 5 event 226 1 65 0 -\n"
              "T1 5 note 64 91 32 4\n"
              "T1 5 note 60 90 16 4\n"
              "T1 21 note 67 92 16 4\n");
}

TEST(ReaderNotes, PairingRules) {
    Loaded song(midiFile(0, 120,
                         {{
                             0x00, 0x90, 60,   80,   // A: C4 channel 1
                             0x00, 0x99, 36,   100,  // drum on channel 10
                             0x0A, 0x90, 60,   81,   // B: a second C4 while A sounds
                             0x0A, 0x80, 60,   0,    // closes A, the older
                             0x00, 0x89, 36,   0,    // closes the drum
                             0x0A, 0x90, 60,   0,    // closes B
                             0x00, 0x90, 72,   70,   // never closed: dropped
                             0x00, 0x90, 71,   70,   // B, closed after a key change
                             0x00, 0xFF, 0x59, 0x02, 0xFB, 0x00, 0x14,
                             0x80, 71,   0,    0x00, 0x80, 50,   0,  // closes nothing
                         }}));
    EXPECT_TRUE(song.ok);
    EXPECT_EQ(song.listing(),
              "T1 0 note 60 80 20 1\n"
              "T1 0 note 36 100 20 10\n"
              "T1 10 note 60 81 20 1\n"
              "T1 30 event 255 89 -5 0 -\n"
              "T1 30 note 71 70 20 1\n");
}

TEST(ReaderNotes, NotesAreSpelledUnderTheKeySignatureInForce) {
    Loaded song(midiFile(1, 120,
                         {{0x00, 0xFF, 0x59, 0x02, 0xFF, 0x00,  // F major
                           0x00, 0x90, 71, 80, 0x10, 0x80, 71, 0}}));
    ASSERT_TRUE(song.song.track(0).at(1)->isNote());
    const auto& note = static_cast<const Note&>(*song.song.track(0).at(1));
    EXPECT_EQ(note.accidental(), 2) << "B natural in F major carries a natural sign";
    EXPECT_EQ(song.song.keySignature, (KeySignature{-1, 0, 0, 0, 0, 0, 0}));
}

TEST(ReaderMetas, TempoSetsTheSongTempoOnceAndKeepsTheExactFileValue) {
    Loaded song(midiFile(
        1, 120,
        {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}}));
    EXPECT_EQ(song.timing.defaultTempo, 120);
    EXPECT_EQ(song.listing(), "T1 0 event 255 81 120 0 -\nT2 0 event 255 81 60 0 -\n");

    Loaded zero(midiFile(1, 120, {{0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}}));
    EXPECT_EQ(zero.timing.defaultTempo, 0);
    EXPECT_EQ(zero.listing(), "T1 0 event 255 81 0 0 -\n");

    // A tempo meta that declares four bytes consumes four; one of two bytes is skipped.
    Loaded odd(midiFile(1, 120,
                        {{0x00, 0xFF, 0x51, 0x04, 0x07, 0xA1, 0x20, 0x00, 0x00, 0xFF, 0x51, 0x02,
                          0x07, 0xA1, 0x00, 0xC0, 3}}));
    EXPECT_TRUE(odd.ok);
    EXPECT_EQ(odd.listing(), "T1 0 event 255 81 120 0 -\nT1 0 event 192 3 0 0 -\n");

    // 465,172 us a quarter is 128.98 quarter notes a minute: the song shows 128.
    Loaded exact(midiFile(1, 120, {{0x00, 0xFF, 0x51, 0x03, 0x07, 0x19, 0x14}}));
    EXPECT_EQ(exact.timing.defaultTempo, 128);
    EXPECT_EQ(exact.listing(), "T1 0 event 255 81 128 0 -\n");
    EXPECT_EQ(exact.ui.texts(), kNoMessages);
    auto& tempo = static_cast<Event&>(*exact.song.track(0).at(0));
    EXPECT_EQ(tempo.usPerQuarter(), 465'172u);
    // Its bpm edited and set back, the event has the file's value again.
    tempo.setData2(130);
    tempo.setData2(128);
    EXPECT_EQ(tempo.usPerQuarter(), 465'172u);
}

TEST(ReaderMetas, EachSignatureKeepsItsOwnValuesAndTheStartSetsTheSongs) {
    // 6/8 from the start, 3/16 in bar 2, 2/2 and 255/4 later: each event keeps its own, and
    // the song shows the one it starts in.
    Loaded meters(
        midiFile(1, 120, {{0x00, 0xFF, 0x58, 0x04, 6,    3,    0x18, 0x08, 0x83, 0x60, 0xFF,
                           0x58, 0x04, 3,    4,    0x06, 0x08, 0x10, 0xFF, 0x58, 0x04, 2,
                           1,    0x30, 0x08, 0x10, 0xFF, 0x58, 0x04, 255,  2,    0x18, 0x08}}));
    EXPECT_EQ(meters.song.timeSignature, (TimeSignature{6, 8}));
    EXPECT_EQ(meters.listing(),
              "T1 0 event 255 88 6 8 -\nT1 480 event 255 88 3 16 -\n"
              "T1 496 event 255 88 2 2 -\nT1 512 event 255 88 255 4 -\n");
    const auto& first = static_cast<const Event&>(*meters.song.track(0).at(0));
    EXPECT_EQ(first.metronome(), (std::array<std::uint8_t, 2>{0x18, 0x08}));

    // Out-of-range bytes load as values every reader accepts: a bar always has a length.
    Loaded noBeats(midiFile(1, 120, {{0x00, 0xFF, 0x58, 0x04, 0, 200, 0x24, 0x08}}));
    EXPECT_EQ(noBeats.song.timeSignature, (TimeSignature{1, 64}));
    EXPECT_EQ(noBeats.listing(), "T1 0 event 255 88 1 64 -\n");

    // Two keys at the start: the later is in force. A minor key keeps its mode; a key later in
    // the song does not change the song's.
    Loaded keys(midiFile(1, 120,
                         {{0x00, 0xFF, 0x59, 0x02, 5, 0, 0x00, 0xFF, 0x59, 0x02, 0xFD, 1, 0x60,
                           0xFF, 0x59, 0x02, 2, 0}}));
    EXPECT_EQ(keys.song.keySignature, (KeySignature{-1, -1, -1, 0, 0, 0, 0}));
    EXPECT_EQ(keys.listing(),
              "T1 0 event 255 89 5 0 -\nT1 0 event 255 89 -3 1 -\nT1 96 event 255 89 2 0 -\n");
    Loaded many(midiFile(1, 120, {{0x00, 0xFF, 0x59, 0x02, 0x80, 7}}));
    EXPECT_EQ(many.song.keySignature, (KeySignature{-1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(many.listing(), "T1 0 event 255 89 -7 0 -\n");
}

TEST(ReaderMetas, AKeyFromALaterTrackSpellsTheNotesReadBeforeIt) {
    // The conductor track comes second: the notes of the first are spelled again in D major.
    Loaded song(
        midiFile(1, 120,
                 {{0x00, 0x90, 66, 80, 0x10, 0x80, 66, 0, 0x00, 0x90, 65, 80, 0x10, 0x80, 65, 0},
                  {0x00, 0xFF, 0x59, 0x02, 2, 0}}));
    EXPECT_EQ(song.song.keySignature, (KeySignature{1, 1, 0, 0, 0, 0, 0}));
    const auto& fSharp = static_cast<const Note&>(*song.song.track(0).at(0));
    const auto& fNatural = static_cast<const Note&>(*song.song.track(0).at(1));
    EXPECT_EQ(fSharp.accidental(), 1);
    EXPECT_EQ(fNatural.accidental(), 2) << "F natural in D major carries a natural sign";
    EXPECT_FALSE(song.song.changed);
}

TEST(ReaderMetas, EveryOtherMetaIsKeptWithItsBytesAndTheEndOfTrackIsNot) {
    const auto hex = [](const Bytes& bytes) {
        std::string out;
        for (const std::uint8_t byte : bytes) {
            static constexpr char kHex[] = "0123456789abcdef";
            out = out + kHex[byte >> 4] + kHex[byte & 0x0F];
        }
        return out;
    };
    // Lengths of 128 and more take two bytes.
    const Bytes synth(128, 0x90);
    const Bytes longName(200, 'n');
    Loaded song(midiFile(1, 120,
                         {Bytes{0x00, 0xFF, 0x01, 0x02, 'h', 'i', 0x00, 0xFF, 0x02, 0x00, 0x00,
                                0xFF, 0x7F, 0x81, 0x00} +
                          synth + Bytes{0x00, 0xFF, 0x03, 0x81, 0x48} + longName +
                          Bytes{0x05, 0xFF, 0x05, 0x02, 'l',  'a',  0x00, 0xFF, 0x21, 0x01,
                                0x02, 0x00, 0xFF, 0x60, 0x01, 0x09, 0x00, 0xFF, 0x2F, 0x00}}));
    EXPECT_TRUE(song.ok);
    EXPECT_EQ(song.listing(),
              "T1 0 event 255 1 0 2 6869\n"
              "T1 0 event 255 2 0 0 -\n"
              "T1 0 event 255 127 0 128 " +
                  hex(synth) + "\nT1 0 event 255 3 0 200 " + hex(longName) +
                  "\nT1 5 event 255 5 0 2 6c61\n"
                  "T1 5 event 255 33 0 1 02\n"
                  "T1 5 event 255 96 0 1 09\n");
}

TEST(ReaderSystem, MessagesKeptDroppedAndUndefined) {
    Loaded song(midiFile(1, 120,
                         {{
                             0x00, 0xF0, 0x05, 0x43, 0x00, 0x00, 0x12, 0xF7, 0x00, 0xF7, 0x02, 0x01,
                             0xF7, 0x00, 0xF2, 0x10, 0x20, 0x00, 0xF3, 0x05, 0x00, 0xF6, 0x00, 0xF8,
                             0x00, 0xFE, 0x00, 0xFA, 0x00, 0xFB, 0x00, 0xFC, 0x00, 0xF1, 0x31, 0x00,
                             0xF4, 0x00, 0xF5, 0x00, 0xF9, 0x00, 0xFD, 0x00, 0xC0, 9,
                         }}));
    EXPECT_TRUE(song.ok);
    EXPECT_EQ(song.listing(),
              "T1 0 event 240 0 0 5 43000012f7\n"
              "T1 0 event 247 0 0 2 01f7\n"
              "T1 0 event 242 16 32 0 -\n"
              "T1 0 event 243 5 0 0 -\n"
              "T1 0 event 246 0 0 0 -\n"
              "T1 0 event 248 0 0 0 -\n"
              "T1 0 event 254 0 0 0 -\n"
              "T1 0 event 192 9 0 0 -\n");
    ASSERT_EQ(song.ui.boxes.size(), 1u) << "one notice for the whole file";
    EXPECT_EQ(song.ui.boxes[0].text, "midi");
    EXPECT_EQ(song.ui.boxes[0].caption, "Undefined MIDI event ");
    EXPECT_EQ(song.ui.boxes[0].type, MB_OK);
}

// A time-code quarter frame has no place in a file, yet files from other programs hold them:
// its data byte goes with it, and the notes after it keep their keys and times.
TEST(ReaderSystem, QuarterFrameTakesItsDataByte) {
    Loaded song(midiFile(0, 96,
                         {{0x00, 0xF1, 0x23, 0x00, 0x90, 60, 80, 0x60, 0x80, 60, 0, 0x00, 0x90, 62,
                           80, 0x60, 0x80, 62, 0}}));
    EXPECT_TRUE(song.ok);
    EXPECT_EQ(song.listing(), "T1 0 note 60 80 96 1\nT1 96 note 62 80 96 1\n");
    EXPECT_EQ(song.ui.boxes.size(), 1u);

    // Before a byte of 0x80 or more (here a two-byte delta), or at the end of the chunk, it
    // takes nothing.
    Loaded bare(header(1, 1, 120) + chunk("MTrk", {0x00, 0xF1, 0x81, 0x00, 0xC0, 9, 0x00, 0xF1}));
    EXPECT_TRUE(bare.ok);
    EXPECT_EQ(bare.listing(), "T1 128 event 192 9 0 0 -\n");
    EXPECT_EQ(bare.ui.boxes.size(), 1u);
}

TEST(ReaderMemory, ElementsThatCannotBeMadeStopTheLoadAndKeepWhatWasRead) {
    const Bytes file = midiFile(1, 120,
                                {{0x00, 0xC0, 5,                          // allocation 1
                                  0x00, 0x90, 60, 80, 0x10, 0x80, 60, 0,  // 2
                                  0x00, 0x90, 62, 80, 0x10, 0x80, 62, 0,  // 3: fails
                                  0x00, 0x90, 64, 80, 0x10, 0x80, 64, 0},
                                 {0x00, 0xC1, 7}});
    {
        const ElementPoolFailure failure(2);
        Loaded song(file);
        EXPECT_FALSE(song.ok);
        ASSERT_EQ(song.ui.boxes.size(), 1u);
        EXPECT_EQ(song.ui.boxes[0].text, "MEMORY ALLOCATION PROBLEM");
        EXPECT_EQ(song.ui.boxes[0].caption, "");
        EXPECT_EQ(song.listing(), "T1 0 event 192 5 0 0 -\nT1 0 note 60 80 16 1\n");
    }
    {
        // Failing in the second track keeps the first whole.
        const ElementPoolFailure failure(4);
        Loaded song(file);
        EXPECT_FALSE(song.ok);
        EXPECT_EQ(song.ui.texts(), std::vector<std::string>{"MEMORY ALLOCATION PROBLEM"});
        EXPECT_EQ(song.song.track(0).count(), 4);
        EXPECT_TRUE(song.song.track(1).empty());
    }
    Loaded again(file);
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(again.song.track(0).count(), 4);
    EXPECT_EQ(again.song.track(1).count(), 1);
}

TEST(ReaderPrograms, FirstProgramChangeOfATrackWinsOnAnyChannel) {
    Loaded song(midiFile(
        1, 120,
        {{0x00, 0xC0, 4, 0x10, 0xC0, 7}, {0x00, 0xB0, 0, 1}, {0x00, 0xC2, 9, 0x00, 0xCF, 3}}));
    EXPECT_EQ(song.song.program[0], 4);
    EXPECT_EQ(song.song.program[1], -1);
    EXPECT_EQ(song.song.program[2], 9) << "channel 3";
}

TEST(ReaderProgress, BusyCursorStepsEveryTwoHundredNoteOns) {
    Bytes events;
    for (int i = 0; i < 600; ++i) {
        events = events + Bytes{0x00, 0x90, 60, 80, 0x01, 0x80, 60, 0};
    }
    Loaded song(midiFile(1, 120, {events}));
    EXPECT_EQ(song.ui.cursors, (std::vector<CursorShape>{CursorShape::Busy1, CursorShape::Busy2,
                                                         CursorShape::Busy3}));
    EXPECT_EQ(song.song.track(0).count(), 600);
}

}  // namespace
