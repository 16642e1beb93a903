#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/command_line_tools.h"
#include "model/omb_data.h"
#include "playback/voice_table.h"
#include "smf/element_pool_failure.h"
#include "smf/midi_file.h"
#include "smf/smf_bytes.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"
#include "support/small_disk.h"

namespace {

namespace fs = std::filesystem;

class MidiFileTest : public ::testing::Test {
protected:
    fs::path path(const std::string& name) const { return dir / name; }

    static Bytes readFile(const fs::path& file) { return text(ScratchDir::read(file)); }
    static void writeFile(const fs::path& file, const Bytes& bytes) {
        ScratchDir::write(file, std::string(bytes.begin(), bytes.end()));
    }
    // Saves the song and gives back the bytes written.
    Bytes save(OMBData& song) {
        EXPECT_TRUE(MidiFile(song, ui).write(path("out.mid"), voices.name(song.program[0])));
        return readFile(path("out.mid"));
    }
    static std::string listing(const OMBData& song) {
        std::ostringstream out;
        writeEventListing(song, out);
        return out.str();
    }

    ScratchDir dir;
    ScriptedUi ui;
    VoiceTable voices;
    SongTiming timing;
};

void addNote(OMBData& song, int track, int start, int duration, int key, int velocity = 80) {
    const StaffPitch pitch = song.spellKey(key);
    song.track(track).add(
        std::make_unique<Note>(start, velocity, duration, pitch.position, pitch.accidental, 0));
}

void addEvent(OMBData& song, int track, int time, int status, int data1, int data2 = 0,
              int data3 = 0, const Bytes& data = {}) {
    song.track(track).add(std::make_unique<Event>(time, status, data, data1, data2, data3));
}

// Tempo 120, 4/4, C major and the name "x", so that a save adds none of its own.
void addStatedMetas(OMBData& song) {
    addEvent(song, 0, 0, 0xFF, Event::kMetaTempo, 120);
    addEvent(song, 0, 0, 0xFF, Event::kMetaTimeSignature, 4, 4);
    addEvent(song, 0, 0, 0xFF, Event::kMetaKeySignature, 0);
    addEvent(song, 0, 0, 0xFF, Event::kMetaTrackName, 0, 1, text("x"));
}

const Bytes kDefaults = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // tempo 120
                         0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x24, 0x08,  // 4/4
                         0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,              // C major
                         0x00, 0xFF, 0x03, 0x08, '-',  '-',  'N',  'O',  'N', 'E', '-', '-'};
const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

TEST_F(MidiFileTest, NewSongWritesTheDefaultsOnce) {
    OMBData song(timing);
    song.changed = true;
    EXPECT_EQ(save(song), header(1, 1, 120) + chunk("MTrk", kDefaults + kEndOfTrack));
    EXPECT_FALSE(song.changed);
    EXPECT_EQ(song.trackCount, 1);
    EXPECT_EQ(listing(song),
              "T1 0 event 255 81 120 0 -\nT1 0 event 255 88 4 4 -\n"
              "T1 0 event 255 89 0 0 -\nT1 0 event 255 3 0 8 2d2d4e4f4e452d2d\n");

    // The second save finds the four in the song, as a load of the file would, and adds none.
    EXPECT_EQ(save(song), header(1, 1, 120) + chunk("MTrk", kDefaults + kEndOfTrack));
    EXPECT_EQ(song.track(0).count(), 4);
}

TEST_F(MidiFileTest, NotesBecomeOnOffPairsInTimeOrder) {
    OMBData song(timing);
    addStatedMetas(song);
    addNote(song, 0, 0, 0, 60);        // zero length: on then off at one tick
    addNote(song, 0, 10, 20, 62, 90);  // followed at once by the same pitch
    addNote(song, 0, 30, 5, 62, 91);
    const Bytes metas = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF,
                         0x58, 0x04, 0x04, 0x02, 0x24, 0x08, 0x00, 0xFF, 0x59,
                         0x02, 0x00, 0x00, 0x00, 0xFF, 0x03, 0x01, 'x'};
    const Bytes notes = {0x00, 0x90, 60, 80, 0x00, 0x80, 60, 80, 0x0A, 0x90, 62, 90,
                         0x14, 0x80, 62, 90, 0x00, 0x90, 62, 91, 0x05, 0x80, 62, 91};
    EXPECT_EQ(save(song), header(1, 1, 120) + chunk("MTrk", metas + notes + kEndOfTrack));

    // An edit in the middle of its work can leave a note moved but not moved in its track:
    // the file still holds every note, in time order.
    Track& track = song.track(0);
    for (int i = 0; i < track.count(); ++i) {
        if (track.at(i)->time() == 10) {
            track.at(i)->setTime(40);
        }
    }
    const Bytes sorted = {0x00, 0x90, 60, 80, 0x00, 0x80, 60, 80, 0x1E, 0x90, 62, 91,
                          0x05, 0x80, 62, 91, 0x05, 0x90, 62, 90, 0x14, 0x80, 62, 90};
    EXPECT_EQ(save(song), header(1, 1, 120) + chunk("MTrk", metas + sorted + kEndOfTrack));
}

// Each note-on and each event counts toward the next busy frame, a note-off does not: a save
// steps the cursor as a load does, however it reads the tracks.
TEST_F(MidiFileTest, BusyCursorStepsEverySixHundredAndOneNoteOnsAndEvents) {
    OMBData song(timing);
    addStatedMetas(song);
    for (int i = 0; i < 900; ++i) {
        addNote(song, i % 2, i * 10, 15, 60 + i % 5);
    }
    for (int i = 0; i < 298; ++i) {
        addEvent(song, 1, i * 30, 0xB1, 7, i % 128);
    }
    ui.cursors.clear();
    save(song);
    EXPECT_EQ(std::count(ui.cursors.begin(), ui.cursors.end(), CursorShape::Busy1), 1);
    EXPECT_EQ(std::count(ui.cursors.begin(), ui.cursors.end(), CursorShape::Busy2), 1);
    EXPECT_EQ(std::count(ui.cursors.begin(), ui.cursors.end(), CursorShape::Busy3), 0);
}

TEST_F(MidiFileTest, EventEncodings) {
    OMBData song(timing);
    timing.defaultTempo = 60;
    addEvent(song, 1, 0, 0xFF, Event::kMetaTempo, 0);  // tempo 0 falls back to the song's
    addEvent(song, 1, 0, 0xFF, Event::kMetaTimeSignature, 6, 8);
    addEvent(song, 1, 0, 0xFF, Event::kMetaTimeSignature, 2, 2);
    addEvent(song, 1, 0, 0xFF, Event::kMetaKeySignature, 3);
    addEvent(song, 1, 0, 0xFF, Event::kMetaText, 0, 2, text("hi"));
    addEvent(song, 1, 0, 0xFF, Event::kMetaSynthSpecific, 0, 1, text("s"));
    addEvent(song, 1, 1, 0xA2, 60, 30);
    addEvent(song, 1, 1, 0xB0, 7, 200);  // a data byte never exceeds 127
    addEvent(song, 1, 1, 0xC1, 5);
    addEvent(song, 1, 1, 0xD0, 9);
    addEvent(song, 1, 1, 0xE0, 0, 64);
    addEvent(song, 1, 2, 0xF0, 0, 0, 4, {0x43, 0x00, 0x00, 0xF7});
    addEvent(song, 1, 2, 0xF7, 0, 0, 1, {0xF7});
    addEvent(song, 1, 2, 0xF2, 1, 2);
    addEvent(song, 1, 2, 0xF3, 3);
    addEvent(song, 1, 2, 0xF1, 3);  // undefined: not written, no delta either
    addEvent(song, 1, 3, 0xF8, 0);
    addEvent(song, 1, 3, 0x90, 60, 100);                                   // notes are never events
    const Bytes second = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,        // tempo 60
                          0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x24, 0x08,  // 6/8
                          0x00, 0xFF, 0x58, 0x04, 0x02, 0x01, 0x24, 0x08,  // 2/2
                          0x00, 0xFF, 0x59, 0x02, 0x03, 0x00,              // A major
                          0x00, 0xFF, 0x01, 0x02, 'h',  'i',               // text
                          0x00, 0xFF, 0x7F, 0x01, 's',                     // synth specific
                          0x01, 0xA2, 60,   30,   0x00, 0xB0, 7,    127,  0x00, 0xC1,
                          5,    0x00, 0xD0, 9,    0x00, 0xE0, 0,    64,   0x01, 0xF0,
                          0x04, 0x43, 0x00, 0x00, 0xF7, 0x00, 0xF7, 0x01, 0xF7, 0x00,
                          0xF2, 1,    2,    0x00, 0xF3, 3,    0x01, 0xF8};
    const Bytes written = save(song);
    const Bytes expectedTail = chunk("MTrk", second + kEndOfTrack);
    ASSERT_GE(written.size(), expectedTail.size());
    EXPECT_EQ(Bytes(written.end() - expectedTail.size(), written.end()), expectedTail);
    EXPECT_EQ(written[11], 2) << "two chunks";
}

TEST_F(MidiFileTest, EmptyTracksAreLeftOutSoLaterTracksMoveUp) {
    OMBData song(timing);
    addNote(song, 3, 0, 10, 64);
    save(song);
    EXPECT_EQ(song.trackCount, 2);

    OMBData loaded(timing);
    ASSERT_TRUE(MidiFile(loaded, ui).load(path("out.mid")));
    EXPECT_EQ(loaded.track(1).count(), 1);
    EXPECT_EQ(loaded.track(3).count(), 0);
}

// Whatever a file holds comes back the same after a load, a save and a load.
TEST_F(MidiFileTest, LoadSaveLoadKeepsNotesAndEvents) {
    const Bytes file = midiFile(
        1, 480,
        {{0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x58, 0x04, 3,   2,   0x18, 0x08,
          0x00, 0xFF, 0x59, 0x02, 0xFD, 0x00, 0x00, 0xFF, 0x03, 0x04, 'S',  'o', 'n', 'g'},
         {0x00, 0xC0, 40,   0x00, 0xB0, 7,    90,   0x00, 0x90, 63,   70,   0x00, 67,
          71,   0x83, 0x60, 63,   0,    0x00, 0x80, 67,   10,   0x00, 0xF0, 0x04, 0x00,
          0x7F, 0x00, 0xF7, 0x10, 0xE0, 0x00, 0x40, 0x00, 0xF7, 0x01, 0xF7},
         {0x00, 0x99, 36, 120, 0x78, 0x89, 36, 0, 0x00, 0xD9, 50}});
    writeFile(path("in.mid"), file);
    OMBData first(timing);
    ASSERT_TRUE(MidiFile(first, ui).load(path("in.mid")));
    const std::string before = listing(first);
    save(first);
    OMBData second(timing);
    ASSERT_TRUE(MidiFile(second, ui).load(path("out.mid")));
    EXPECT_EQ(listing(second), before);
    EXPECT_EQ(second.timeDivision, 480);
    EXPECT_EQ(timing.defaultTempo, 100);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{});
}

TEST_F(MidiFileTest, FileTempoIsWrittenBackExactly) {
    // A tempo that is no whole bpm (465,172 us a quarter, 128.98 bpm), at the start and later.
    const Bytes file =
        header(1, 1, 480) +
        track({0x00, 0xFF, 0x51, 0x03, 0x07, 0x19, 0x14,        // 465,172
               0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x24, 0x08,  // 4/4
               0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,              // C major
               0x00, 0xFF, 0x03, 0x04, 'S',  'o',  'n',  'g',  0x00, 0x90,
               60,   80,   0x83, 0x60, 0xFF, 0x51, 0x03, 0x0A, 0x2C, 0x2B,  // 666,667 us: 89.99 bpm
               0x00, 0x80, 60,   80});
    writeFile(path("in.mid"), file);
    OMBData song(timing);
    ASSERT_TRUE(MidiFile(song, ui).load(path("in.mid")));
    EXPECT_EQ(timing.defaultTempo, 128);
    EXPECT_EQ(save(song), file);

    // Its bpm changed, a tempo is written from the bpm, as is one the user made.
    static_cast<Event&>(*song.track(0).at(0)).setData2(130);
    addEvent(song, 0, 960, Event::kStatusMeta, Event::kMetaTempo, 130);
    const Bytes saved = save(song);
    const auto count = [&saved](const Bytes& bytes) {
        int found = 0;
        for (auto at = saved.begin();
             (at = std::search(at, saved.end(), bytes.begin(), bytes.end())) != saved.end(); ++at) {
            ++found;
        }
        return found;
    };
    EXPECT_EQ(count({0xFF, 0x51, 0x03, 0x07, 0x0A, 0xE2}), 2) << "130 bpm is 461,538 us";
    EXPECT_EQ(count({0xFF, 0x51, 0x03, 0x0A, 0x2C, 0x2B}), 1);
    EXPECT_EQ(count({0xFF, 0x51, 0x03, 0x07, 0x19, 0x14}), 0);
}

// What the user chooses in the key window is what a save writes, over the key the file opened
// with; key changes later in the song stay as they were, flats and C major among them.
TEST_F(MidiFileTest, ChosenKeySignatureIsSaved) {
    OMBData song(timing);
    ASSERT_TRUE(MidiFile(song, ui).load(fs::path(TOLVAR32_SONGS_DIR) / "speed_the_plough.mid"));
    EXPECT_EQ(song.keySignatureSum(), 1) << "G major";
    song.chooseKeySignature(2);
    save(song);
    OMBData reloaded(timing);
    ASSERT_TRUE(MidiFile(reloaded, ui).load(path("out.mid")));
    EXPECT_EQ(reloaded.keySignatureSum(), 2) << "D major";
    EXPECT_EQ(reloaded.keySignature, (KeySignature{1, 1, 0, 0, 0, 0, 0}));

    // A major, then at tick 120 B flat major, then at 240 G major and C major.
    const Bytes file =
        midiFile(1, 120, {{0x00, 0xFF, 0x59, 0x02, 0x03, 0x00, 0x00, 0x90, 60,   80,   0x78,
                           0x80, 60,   0,    0x00, 0xFF, 0x59, 0x02, 0xFE, 0x00, 0x78, 0xFF,
                           0x59, 0x02, 0x01, 0x00, 0x00, 0xFF, 0x59, 0x02, 0x00, 0x00}});
    writeFile(path("in.mid"), file);
    const auto keysAfterSaving = [&](int chosen) {
        OMBData changes(timing);
        EXPECT_TRUE(MidiFile(changes, ui).load(path("in.mid")));
        if (chosen != 0) {
            changes.chooseKeySignature(chosen);
        }
        save(changes);
        OMBData reloaded(timing);
        EXPECT_TRUE(MidiFile(reloaded, ui).load(path("out.mid")));
        std::istringstream lines(listing(reloaded));
        std::string keys;
        for (std::string line; std::getline(lines, line);) {
            keys += line.find(" event 255 89 ") != std::string::npos ? line + '\n' : "";
        }
        return keys;
    };
    EXPECT_EQ(keysAfterSaving(0),
              "T1 0 event 255 89 3 0 -\nT1 120 event 255 89 -2 0 -\n"
              "T1 240 event 255 89 1 0 -\nT1 240 event 255 89 0 0 -\n");
    EXPECT_EQ(keysAfterSaving(-3),
              "T1 0 event 255 89 -3 0 -\nT1 120 event 255 89 -2 0 -\n"
              "T1 240 event 255 89 1 0 -\nT1 240 event 255 89 0 0 -\n");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{});
}

// A signature in any track is the song's: track 0 gets only the kinds no track states (here
// the tempo), never a second key at tick 0 holding the last key read.
TEST_F(MidiFileTest, DefaultsAreAddedOnlyForWhatNoTrackStates) {
    const Bytes file = midiFile(
        1, 120,
        {{0x00, 0xFF, 0x03, 0x01, 'c'}, {0x00, 0xFF, 0x58, 0x04, 0x02, 0x01, 0x30, 0x08,  // 2/2
                                         0x00, 0xFF, 0x59, 0x02, 0x00, 0x01,              // A minor
                                         0x00, 0x90, 69,   80,   0x78, 0x80, 69,   0,
                                         0x00, 0xFF, 0x59, 0x02, 0x02, 0x00}});  // D major, later
    writeFile(path("in.mid"), file);
    OMBData song(timing);
    ASSERT_TRUE(MidiFile(song, ui).load(path("in.mid")));
    EXPECT_EQ(song.keySignatureSum(), 0);
    EXPECT_EQ(song.timeSignature, (TimeSignature{2, 2}));
    const Bytes saved = save(song);
    const auto hex = [](const Bytes& bytes) {
        std::string out;
        for (const std::uint8_t byte : bytes) {
            out += std::to_string(byte) + " ";
        }
        return out;
    };
    EXPECT_EQ(hex(saved),
              hex(midiFile(1, 120,
                           {{0x00, 0xFF, 0x03, 0x01, 'c', 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20},
                            {0x00, 0xFF, 0x58, 0x04, 0x02, 0x01, 0x30, 0x08, 0x00, 0xFF,
                             0x59, 0x02, 0x00, 0x01, 0x00, 0x90, 69,   80,   0x78, 0xFF,
                             0x59, 0x02, 0x02, 0x00, 0x00, 0x80, 69,   80}})));
}

// The kinds are looked for in every track until each is found; only the name in track 0.
TEST_F(MidiFileTest, AKindStatedOnlyLaterInALaterTrackIsNotAdded) {
    OMBData song(timing);
    addEvent(song, 0, 0, 0xFF, Event::kMetaTrackName, 0, 1, text("x"));
    addEvent(song, 0, 0, 0xFF, Event::kMetaTempo, 120);
    addEvent(song, 0, 0, 0xFF, Event::kMetaTimeSignature, 4, 4);
    addEvent(song, 1, 0, 0xB0, 7, 100);
    addEvent(song, 1, 20, 0xFF, Event::kMetaKeySignature, 2);
    save(song);
    EXPECT_EQ(song.track(0).count(), 3);
    EXPECT_EQ(song.track(1).count(), 2);
}

// Whatever the model holds, the file holds valid MIDI: no negative delta, no data byte above
// 127, no note-on of velocity 0 that would read as a note-off.
TEST_F(MidiFileTest, ValuesAFileCannotHoldAreWrittenAsTheNearestItCan) {
    OMBData song(timing);
    addStatedMetas(song);
    addEvent(song, 1, -5, 0xC0, 3);      // a time before the start
    addEvent(song, 1, -4, 0xB0, 7, 90);  // so is this, with two data bytes
    addNote(song, 1, 100, -100, 60, 0);  // negative length, velocity 0
    addEvent(song, 1, 200, 0xC0, 200);
    addEvent(song, 1, 200, 0xB0, -5, 300);
    const Bytes saved = save(song);
    const Bytes expected = {0x00, 0xC0, 3,    0x00, 0xB0, 7,    90,   0x64,
                            0x90, 60,   1,    0x00, 0x80, 60,   1,    0x64,
                            0xC0, 127,  0x00, 0xB0, 0,    127,  0x00, 0xFF, 0x2F, 0x00};
    ASSERT_GE(saved.size(), expected.size());
    EXPECT_EQ(Bytes(saved.end() - expected.size(), saved.end()), expected);
}

TEST_F(MidiFileTest, MissingFileIsNotFoundAndAFailedSaveKeepsTheChangedFlag) {
    OMBData song(timing);
    EXPECT_FALSE(MidiFile(song, ui).load(path("nothing.mid")));
    EXPECT_FALSE(MidiFile(song, ui).load(dir.path()));
    song.changed = true;
    EXPECT_FALSE(MidiFile(song, ui).write(path("no/such/dir/song.mid"), ""));
    EXPECT_TRUE(song.changed);
    EXPECT_EQ(ui.texts()[0], path("nothing.mid").string() + " Not found");
    EXPECT_EQ(ui.texts().back(), "File does not exist, or is read only");
}

// Past 256 MB a file is not a song: it is turned away before any of it is read. The file is
// sparse, so it takes no room on the disk.
TEST_F(MidiFileTest, AFileLargerThanAnySongIsNotRead) {
    writeFile(path("huge.mid"), midiFile(1, 96, {{0x00, 0xC0, 5}}));
    std::filesystem::resize_file(path("huge.mid"), (256u << 20) + 1);
    OMBData song(timing);
    EXPECT_FALSE(MidiFile(song, ui).load(path("huge.mid")));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Not a valid Midi file"});
    EXPECT_TRUE(song.track(0).empty());

    // At the limit it is read: its one track, and nothing of what follows.
    std::filesystem::resize_file(path("huge.mid"), 256u << 20);
    OMBData atLimit(timing);
    EXPECT_TRUE(MidiFile(atLimit, ui).load(path("huge.mid")));
    EXPECT_EQ(atLimit.track(0).count(), 1);
}

// Each track goes to the disk as soon as it is encoded: a disk that fills up in the first long
// track ends the save there, with the previous file whole and the song still changed.
TEST_F(MidiFileTest, SaveOnAFullDiskStopsAtTheTrackThatDidNotFitAndKeepsThePreviousFile) {
    writeFile(path("song.mid"), text("previous"));
    OMBData song(timing);
    addStatedMetas(song);
    for (int i = 0; i < 1300; ++i) {
        addNote(song, 1, i * 10, 15, 60 + i % 5);
        addNote(song, 2, i * 10, 15, 64 + i % 5);
    }
    song.changed = true;
    ui.cursors.clear();
    {
        const SmallDisk disk(1024);
        EXPECT_FALSE(MidiFile(song, ui).write(path("song.mid"), ""));
    }
    EXPECT_EQ(ui.texts().back(), "File does not exist, or is read only");
    EXPECT_EQ(readFile(path("song.mid")), text("previous"));
    EXPECT_EQ(dir.entryCount(), 1) << "no temporary file is left behind";
    EXPECT_TRUE(song.changed);
    // Track 1's 1300 note-ons and track 0's four events step the cursor twice; track 2 is
    // never encoded.
    EXPECT_EQ(std::count_if(ui.cursors.begin(), ui.cursors.end(),
                            [](CursorShape shape) { return shape >= CursorShape::Busy1; }),
              2);
    EXPECT_EQ(ui.cursors.back(), CursorShape::Arrow);
}

TEST_F(MidiFileTest, SaveOutOfMemoryKeepsThePreviousFileAndTheChanges) {
    writeFile(path("song.mid"), text("previous"));
    OMBData song(timing);
    addNote(song, 1, 0, 120, 60);
    song.changed = true;
    {
        const ElementPoolFailure failure(0);
        EXPECT_FALSE(MidiFile(song, ui).write(path("song.mid"), ""));
    }
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "MEMORY ALLOCATION PROBLEM");
    EXPECT_EQ(ui.boxes[0].caption, "");
    EXPECT_EQ(readFile(path("song.mid")), text("previous"));
    EXPECT_TRUE(song.changed);
    EXPECT_TRUE(MidiFile(song, ui).write(path("song.mid"), ""));
}

}  // namespace
