#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <span>
#include <string>

#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/undo_history.h"

namespace {

void addKey(OMBData& song, int track, int time, int sharps) {
    song.track(track).add(std::make_unique<Event>(time, Event::kStatusMeta,
                                                  std::span<const std::uint8_t>{},
                                                  Event::kMetaKeySignature, sharps, 0));
}

// "time:sharps" of every key-signature event of the track.
std::string keysOf(const Track& track) {
    std::string keys;
    for (int i = 0; i < track.count(); ++i) {
        const Element* element = track.at(i);
        if (element->isEvent() &&
            static_cast<const Event*>(element)->isMeta(Event::kMetaKeySignature)) {
            keys += std::to_string(element->time()) + ':' +
                    std::to_string(static_cast<const Event*>(element)->data2()) + ' ';
        }
    }
    return keys;
}

TEST(KeySignatureChoice, SetsTheSlotsAndEveryKeyEventAtTheStart) {
    SongTiming timing;
    OMBData song(timing);
    // A high note sorts before the events of its tick: the walk goes past it.
    song.track(0).add(std::make_unique<Note>(0, 80, 120, -10, 0, 0));
    addKey(song, 0, 0, 1);
    addKey(song, 0, 480, 3);
    addKey(song, 2, 0, 1);

    song.chooseKeySignature(2);
    EXPECT_EQ(song.keySignature, (KeySignature{1, 1, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(song.changed);
    EXPECT_EQ(keysOf(song.track(0)), "0:2 480:3 ");
    EXPECT_EQ(keysOf(song.track(2)), "0:2 ");

    song.chooseKeySignature(-7);
    EXPECT_EQ(song.keySignature, (KeySignature{-1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(keysOf(song.track(0)), "0:-7 480:3 ");

    OMBData empty(timing);
    empty.chooseKeySignature(0);
    EXPECT_EQ(empty.keySignature, KeySignature{});
    EXPECT_TRUE(empty.changed) << "even when the song was in C major already";
    EXPECT_EQ(keysOf(empty.track(0)), "") << "no event is made: a save adds the song's key";
}

// A file may state its key a tick in (as abc converters write), or only in a later track: the
// earliest key events are the song's, and a choice rewrites those.
TEST(KeySignatureChoice, TheSongsStartIsWhereItsEarliestKeyStands) {
    SongTiming timing;
    OMBData song(timing);
    addKey(song, 0, 1, 2);
    addKey(song, 0, 960, 3);
    addKey(song, 1, 1, 2);
    EXPECT_EQ(song.metaStartTime(Event::kMetaKeySignature), 1);
    song.chooseKeySignature(-1);
    EXPECT_EQ(keysOf(song.track(0)), "1:-1 960:3 ");
    EXPECT_EQ(keysOf(song.track(1)), "1:-1 ");
    EXPECT_EQ(OMBData(timing).metaStartTime(Event::kMetaKeySignature), INT_MAX);
}

// After a key choice every note looks as it sounds, spelled as a load of the saved song would
// spell it, and one undo puts back the key, its events and the old spelling.
TEST(KeySignatureChoice, NotesAreSpelledAfreshAndUndoPutsEverythingBack) {
    SongTiming timing;
    OMBData song(timing);
    UndoHistory history(song);
    addKey(song, 0, 0, 0);
    const StaffPitch f = song.spellKey(65);
    song.track(1).add(std::make_unique<Note>(0, 80, 120, f.position, f.accidental, 0));
    auto step = std::make_unique<UndoStep>("Key Signature", UndoStep::kNowhere);
    setKeySignature(song, 1, step.get());
    history.record(std::move(step));
    const auto& note = static_cast<const Note&>(*song.track(1).at(0));
    EXPECT_EQ(note.accidental(), 2) << "F natural in G major";
    EXPECT_EQ(keyOf(note.position(), note.accidental()), 65);
    EXPECT_EQ(keysOf(song.track(0)), "0:1 ");
    history.undo();
    EXPECT_EQ(song.keySignatureSum(), 0);
    EXPECT_EQ(keysOf(song.track(0)), "0:0 ");
    EXPECT_EQ(static_cast<const Note&>(*song.track(1).at(0)).accidental(), f.accidental);
    history.redo();
    EXPECT_EQ(static_cast<const Note&>(*song.track(1).at(0)).accidental(), 2);
}

// The time signature is the song's own, kept in its events at the start as a key is.
TEST(TimeSignatureChoice, RewritesTheStartsEventsKeepsLaterOnesAndUndoes) {
    SongTiming timing;
    OMBData song(timing);
    OMBData other(timing);
    UndoHistory history(song);
    const std::uint8_t none[1] = {};
    auto signature = std::make_unique<Event>(0, Event::kStatusMeta, std::span(none, 0),
                                             Event::kMetaTimeSignature, 2, 2);
    signature->setMetronome(48, 8);
    song.track(0).add(std::move(signature));
    song.track(0).add(std::make_unique<Event>(960, Event::kStatusMeta, std::span(none, 0),
                                              Event::kMetaTimeSignature, 3, 16));
    song.timeSignature = {2, 2};
    auto step = std::make_unique<UndoStep>("Time Signature", UndoStep::kNowhere);
    setTimeSignature(song, {6, 8}, step.get());
    history.record(std::move(step));
    const auto& first = static_cast<const Event&>(*song.track(0).at(0));
    const auto& later = static_cast<const Event&>(*song.track(0).at(1));
    EXPECT_EQ(song.timeSignature, (TimeSignature{6, 8}));
    EXPECT_EQ(other.timeSignature, TimeSignature{}) << "another song keeps its own";
    EXPECT_EQ(std::pair(first.data2(), first.data3()), std::pair(6, 8));
    EXPECT_EQ(first.metronome(), (std::array<std::uint8_t, 2>{48, 8}));
    EXPECT_EQ(std::pair(later.data2(), later.data3()), std::pair(3, 16));
    EXPECT_TRUE(song.changed);
    history.undo();
    EXPECT_EQ(song.timeSignature, (TimeSignature{2, 2}));
    EXPECT_EQ(std::pair(first.data2(), first.data3()), std::pair(2, 2));
}

}  // namespace
