#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "model/track.h"

namespace {

std::unique_ptr<Note> note(int start, int position, int duration = 120, int accidental = 0) {
    return std::make_unique<Note>(start, 80, duration, position, accidental, 0);
}

std::unique_ptr<Event> event(int time, int status, int data1 = 0, int data2 = 0) {
    return std::make_unique<Event>(time, status, std::span<const std::uint8_t>{}, data1, data2, 0);
}

std::unique_ptr<Event> tempo(int time, int bpm) {
    return event(time, Event::kStatusMeta, Event::kMetaTempo, bpm);
}

const Note& noteAt(const Track& track, int index) {
    return static_cast<const Note&>(*track.at(index));
}

const Event& eventAt(const Track& track, int index) {
    return static_cast<const Event&>(*track.at(index));
}

// Events sort between the notes above the staff and the rest; at one tick and pitch,
// insertion order holds.
TEST(TrackOrder, EventsSortBetweenNotesAboveTheStaffAndTheRestAndTiesKeepInsertionOrder) {
    Track track(0);
    track.add(note(0, 0));
    track.add(event(0, 0xB0, 7, 100));
    track.add(note(0, -5));
    EXPECT_EQ(noteAt(track, 0).position(), -5);
    EXPECT_TRUE(track.at(1)->isEvent());
    EXPECT_EQ(noteAt(track, 2).position(), 0);

    Track ties(0);
    ties.add(note(480, 85, 120));
    ties.add(note(480, 85, 240));
    ties.add(event(480, 0xC0, 1));
    ties.add(event(480, 0xC0, 2));
    EXPECT_EQ(eventAt(ties, 0).data1(), 1);
    EXPECT_EQ(eventAt(ties, 1).data1(), 2);
    EXPECT_EQ(noteAt(ties, 2).duration(), 120);
    EXPECT_EQ(noteAt(ties, 3).duration(), 240);
}

TEST(TrackSearch, FirstAtOrAfterFindsTheEarliestElementNotBeforeTheTick) {
    Track track(0);
    EXPECT_EQ(track.firstAtOrAfter(0), -1);
    track.add(note(0, 85));
    track.add(note(240, 85));
    track.add(note(240, 80));
    track.add(note(240, 75));
    track.add(note(480, 85));
    EXPECT_EQ(track.firstAtOrAfter(-5), 0);
    EXPECT_EQ(track.firstAtOrAfter(0), 0);
    EXPECT_EQ(track.firstAtOrAfter(1), 1) << "the first of the three at 240";
    EXPECT_EQ(track.firstAtOrAfter(240), 1);
    EXPECT_EQ(track.firstAtOrAfter(241), 4);
    EXPECT_EQ(track.firstAtOrAfter(480), 4);
    EXPECT_EQ(track.firstAtOrAfter(481), -1);
}

TEST(TrackSearch, FindNoteInWindowSkipsTheEdgesAndStopsPastTheTime) {
    Track track(0);
    EXPECT_EQ(track.findNoteInWindow(100, 0, 85), -1);
    track.add(note(10, 85));
    track.add(note(50, 80));
    track.add(note(100, 85));
    track.add(note(200, 85));
    EXPECT_EQ(track.findNoteInWindow(100, 0, 85), 0);
    EXPECT_EQ(track.findNoteInWindow(100, -50, 85), 0) << "a negative earliest counts as 0";
    EXPECT_EQ(track.findNoteInWindow(100, 11, 85), -1) << "the note at 100 itself is skipped";
    EXPECT_EQ(track.findNoteInWindow(100, 0, 80), 1);
    EXPECT_EQ(track.findNoteInWindow(150, 60, 85), 2);
    EXPECT_EQ(track.findNoteInWindow(150, 0, 75), -1);
}

TEST(TrackSearch, FindSoundingNoteIncludesFlatsAndSharpsDrawnAStepHigher) {
    Track track(0);
    track.add(event(0, 0xC0, 5));
    track.add(note(0, 85, 100));
    track.add(note(50, 80, 100, -1));
    track.add(note(50, 70, 100, 2));
    track.add(note(400, 60, 100));
    EXPECT_EQ(track.findSoundingNote(100, 85), 1) << "the end of the note still sounds";
    EXPECT_EQ(track.findSoundingNote(101, 85), -1);
    EXPECT_EQ(track.findSoundingNote(60, 75), 3) << "a flat on the step above";
    EXPECT_EQ(track.findSoundingNote(60, 65), -1) << "a natural sign does not count";
    EXPECT_EQ(track.findSoundingNote(200, 60), -1) << "stops before notes that start later";
    EXPECT_EQ(track.findSoundingNote(450, 60), 4);
}

TEST(TrackSearch, TempoInForceWalksBackToTheEarliestTime) {
    Track track(0);
    EXPECT_EQ(track.tempoInForce(0, 0, 120), 120);
    track.add(tempo(0, 90));
    track.add(note(100, 85));
    track.add(tempo(480, 140));
    track.add(note(500, 85));
    track.add(note(960, 85));
    EXPECT_EQ(track.tempoInForce(1, 0, 120), 90);
    EXPECT_EQ(track.tempoInForce(4, 0, 120), 140);
    EXPECT_EQ(track.tempoInForce(2, 0, 120), 140);
    EXPECT_EQ(track.tempoInForce(1, 50, 120), 120) << "the tempo at 0 is before the earliest";
    EXPECT_EQ(track.tempoInForce(5, 0, 120), 120) << "index past the end";
    EXPECT_EQ(track.tempoInForce(-1, 0, 120), 120);
}

TEST(TrackSearch, LastWithKeyFindsTheLatestElementAtThePosition) {
    Track track(0);
    EXPECT_EQ(track.lastWithKey(85), -1);
    track.add(note(0, 85));
    track.add(event(10, 0xB0));
    track.add(note(20, 85));
    track.add(note(30, 80));
    EXPECT_EQ(track.lastWithKey(85), 2);
    EXPECT_EQ(track.lastWithKey(-1), 1);
    EXPECT_EQ(track.lastWithKey(75), -1);
}

// Where the track has a program change at its start, only its program changes. Inserting one
// is tested through the song's programs.
TEST(TrackPrograms, ProgramAtStartReplacesTheProgramOfAnExistingChange) {
    Track existing(0);
    existing.add(note(0, 85));
    existing.add(event(0, 0xC5, 3));
    existing.add(note(480, 85));
    existing.setProgramAtStart(9, 0xC0);
    ASSERT_EQ(existing.count(), 3);
    EXPECT_EQ(eventAt(existing, 0).data1(), 9);
    EXPECT_EQ(eventAt(existing, 0).status(), 0xC5);
}

TEST(TrackOwnership, ClearDestroysAndRemoveAtHandsOver) {
    Track track(0);
    for (int i = 0; i < 600; ++i) {
        track.add(note(i, 85));
    }
    std::unique_ptr<Element> moved = track.removeAt(10);
    EXPECT_EQ(moved->time(), 10);
    EXPECT_EQ(track.count(), 599);
    EXPECT_EQ(track.at(10)->time(), 11);
    track.destroyAt(0);
    EXPECT_EQ(track.at(0)->time(), 1);
    track.clear();
    EXPECT_EQ(track.count(), 0);
    EXPECT_EQ(track.lastElementIndex(), -1);
    EXPECT_EQ(track.firstAtOrAfter(0), -1);
    track.add(std::move(moved));
    EXPECT_EQ(track.count(), 1);
}

TEST(EventData, ACopyOwnsItsOwnBlockAndSetDataReplacesIt) {
    const std::uint8_t sysex[] = {0x43, 0x12, 0xF7};
    Event event(0, Event::kStatusSystemExclusive, sysex, 0, 0, 3);
    Event copy = event;
    EXPECT_TRUE(std::ranges::equal(copy.data(), event.data()));
    EXPECT_NE(copy.data().data(), event.data().data());
    event.setData("Piano");
    EXPECT_EQ(event.data3(), 5);
    EXPECT_EQ(std::string(event.data().begin(), event.data().end()), "Piano");
    EXPECT_EQ(copy.data3(), 3);
    event.setData("");
    EXPECT_FALSE(event.hasData());
    EXPECT_EQ(event.data3(), 0);
}

// Notes and events keep some values in fewer bits than an int: a value beyond them is held
// at the nearest end, never wrapped into another (a status of 0x190 must not become a
// note-on).
TEST(ElementValues, ValuesBeyondTheirStorageAreHeldAtTheNearestEnd) {
    Note note(0, 64, 120, 40'000, -200, 0);
    EXPECT_EQ(note.position(), 32'767);
    EXPECT_EQ(note.accidental(), -128);
    note.setPosition(-40'000);
    note.setAccidental(2);
    EXPECT_EQ(note.position(), -32'768);
    EXPECT_EQ(note.accidental(), 2);

    const std::uint8_t block[] = {1, 2, 3, 4, 5};
    Event event(0, 0x190, block, 70'000, 2'000'000, 5);
    EXPECT_EQ(event.status(), 0xFF);
    EXPECT_EQ(event.data1(), 32'767);
    EXPECT_EQ(event.data2(), 2'000'000);
    EXPECT_EQ(event.data().size(), 5U);
    EXPECT_EQ(event.data()[4], 5);
    event.setData1(-1);
    EXPECT_EQ(event.data1(), -1);
    EXPECT_EQ(Event(0, -5, {}, 0, 0, 0).status(), 0);
}

}  // namespace
