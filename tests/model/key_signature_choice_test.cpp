#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>

#include "model/omb_data.h"

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

}  // namespace
