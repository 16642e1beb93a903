#include <gtest/gtest.h>

#include <memory>

#include "app/event_list_editor.h"
#include "app/note_detail.h"
#include "model/note_name.h"
#include "model/omb_data.h"
#include "model/undo_history.h"
#include "support/scripted_ui.h"

namespace {

using Field = EventFields::Field;

class EventListEditorTest : public testing::Test {
protected:
    void addEvent(int track, int time, int status, int data1, int data2) {
        song.track(track).add(std::make_unique<Event>(time, status, std::span<const std::uint8_t>{},
                                                      data1, data2, 0));
    }
    void addNote(int track, int start, int position) {
        song.track(track).add(std::make_unique<Note>(start, 80, 120, position, 0, 0));
    }
    std::unique_ptr<EventListEditor> open(bool trackDetail = false) {
        return std::make_unique<EventListEditor>(song, ui, trackDetail,
                                                 EventListEditor::Page{1, 4, 480, 0});
    }
    static void type(EventListEditor& editor, Field field, const std::string& text) {
        editor.fields().text[field] = text;
        editor.fields().edited[field] = true;
    }
    // Records what the editor changed as one step, as the dialog does when it closes.
    void close(EventListEditor& editor) {
        if (auto step = editor.take()) {
            history.record(std::move(step));
        }
    }
    const Event& eventAt(int track, int index) const {
        return static_cast<const Event&>(*song.track(track).at(index));
    }

    ScriptedUi ui;
    SongTiming timing;
    OMBData song{timing};
    UndoHistory history{song};
};

TEST_F(EventListEditorTest, NameListsWriteTypeAndValues) {
    addEvent(0, 0, 0xC0, 5, 0);
    auto editor = open();
    editor->chooseTrack(2);
    editor->chooseEventName(4);
    EXPECT_EQ(editor->fields().text[EventFields::kType], "194");
    editor->chooseSystemName(0);
    editor->chooseEventName(8);
    editor->chooseMetaName(8);
    EXPECT_EQ(editor->fields().text[EventFields::kType], "255");
    EXPECT_EQ(editor->fields().text[EventFields::kValue1], "88");
    EXPECT_EQ(editor->fields().text[EventFields::kValue2], "4");
    EXPECT_EQ(editor->fields().text[EventFields::kValue3], "4");
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"System Messages are used for System Message Events only"});
}

TEST_F(EventListEditorTest, ValuesOutsideTheirRangesAreRefusedWithTheirMessage) {
    addEvent(0, 0, Event::kStatusMeta, Event::kMetaKeySignature, 2);
    struct Case {
        Field field;
        const char* text;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {EventFields::kValue2, "-7", nullptr},
        {EventFields::kValue2, "-8", "Invalid Value2 - Must be -7  to 255"},
        {EventFields::kValue2, "256", "Invalid Value2 - Must be -7  to 255"},
        {EventFields::kValue2, "x", "Invalid Value2 - Must be -7  to 255"},
        {EventFields::kValue1, "00", "Invalid Value1 - Must be 0-255"},
        {EventFields::kValue1, "", "Invalid Value1 - Must be 0-255"},
        {EventFields::kType, "127", "Invalid Type - Must be 128-255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ui.boxes.clear();
        auto editor = open();
        type(*editor, c.field, c.text);
        editor->ok();
        EXPECT_EQ(ui.texts(), c.message != nullptr ? std::vector<std::string>{c.message}
                                                   : std::vector<std::string>{});
        close(*editor);
        EXPECT_EQ(song.track(0).count(), 1);
    }
    EXPECT_EQ(eventAt(0, 0).data1(), Event::kMetaKeySignature);
    EXPECT_EQ(eventAt(0, 0).data2(), -7);
    EXPECT_EQ(history.undoCount(), 1U);
}

// What a save could not keep is refused when it is typed, never dropped or changed by the save.
TEST_F(EventListEditorTest, ValuesAFileCannotHoldAreRefusedWithTheirMessage) {
    struct Case {
        int status, data1;
        std::vector<std::pair<Field, const char*>> typed;
        bool create;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {0xB0, 7, {{EventFields::kValue1, "128"}}, false, "Invalid Value1 - Must be 0 to 127"},
        {0xB0, 7, {{EventFields::kValue2, "-1"}}, false, "Invalid Value2 - Must be 0 to 127"},
        {0xE0, 0, {{EventFields::kValue2, "200"}}, false, "Invalid Value2 - Must be 0 to 127"},
        {0xB0, 7, {{EventFields::kValue2, "127"}}, false, nullptr},
        {0xC0, 1, {{EventFields::kValue1, "200"}}, false, "Invalid Value1 - Must be 0 to 127"},
        {0xF3, 1, {{EventFields::kValue1, "128"}}, false, "Invalid Value1 - Must be 0 to 127"},
        {0xC0,
         1,
         {{EventFields::kType, "144"}},
         false,
         "Invalid Type - Notes are made with Create Event"},
        {0xC0,
         1,
         {{EventFields::kType, "128"}, {EventFields::kValue2, "-5"}},
         true,
         "Invalid Value2 - Must be 0 to 255"},
        {0xC0, 1, {{EventFields::kType, "249"}}, false, "Invalid Type - Not kept in a Midi file"},
        {0xC0, 1, {{EventFields::kType, "241"}}, true, "Invalid Type - Not kept in a Midi file"},
        {0xFF, 81, {{EventFields::kValue2, "3"}}, false, "Invalid Value2 - Must be 4 to 255"},
        {0xFF, 88, {{EventFields::kValue2, "0"}}, false, "Invalid Value2 - Must be 1 to 255"},
        {0xFF, 88, {{EventFields::kValue2, "255"}, {EventFields::kValue3, "16"}}, false, nullptr},
        {0xFF,
         88,
         {{EventFields::kValue3, "3"}},
         false,
         "Invalid Value3 - Must be 1, 2, 4, 8, 16, 32 or 64"},
        {0xFF,
         88,
         {{EventFields::kValue3, "128"}},
         false,
         "Invalid Value3 - Must be 1, 2, 4, 8, 16, 32 or 64"},
        {0xFF, 89, {{EventFields::kValue2, "7"}, {EventFields::kValue3, "1"}}, false, nullptr},
        {0xFF, 89, {{EventFields::kValue2, "8"}}, false, "Invalid Value2 - Must be -7 to 7"},
        {0xFF, 89, {{EventFields::kValue3, "2"}}, false, "Invalid Value3 - Must be 0 or 1"},
        {0xFF,
         1,
         {{EventFields::kValue1, "47"}},
         false,
         "Invalid Value1 - Must be 0 to 127 but not 47"},
        {0xFF,
         1,
         {{EventFields::kValue1, "128"}},
         false,
         "Invalid Value1 - Must be 0 to 127 but not 47"},
        {0xFF, 1, {{EventFields::kValue1, "127"}}, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.status << " " << c.data1 << " " << c.typed.front().second);
        song.track(0).clear();
        ui.boxes.clear();
        addEvent(0, 480, c.status, c.data1, c.data1 == 88 ? 3 : 0);
        auto editor = open();
        for (const auto& [field, text] : c.typed) {
            type(*editor, field, text);
        }
        if (c.create) {
            editor->createEvent();
        } else {
            editor->ok();
        }
        EXPECT_EQ(ui.texts(), c.message != nullptr ? std::vector<std::string>{c.message}
                                                   : std::vector<std::string>{});
        EXPECT_EQ(song.track(0).count(), 1);
    }
}

// An event keeps the data bytes of its status and no others, so that a load of the saved
// file gives back what the list shows.
TEST_F(EventListEditorTest, EventsKeepOnlyWhatTheFileKeepsAndMetasAreListedByName) {
    addEvent(0, 0, 0xC0, 5, 0);
    auto editor = open();
    type(*editor, EventFields::kValue2, "55");
    type(*editor, EventFields::kData, "junk");
    editor->ok();
    EXPECT_EQ(eventAt(0, 0).data2(), 0);
    EXPECT_FALSE(eventAt(0, 0).hasData());

    editor = open();
    editor->chooseTrack(1);
    editor->chooseEventName(8);
    editor->chooseMetaName(4);  // Lyric
    type(*editor, EventFields::kValue2, "9");
    type(*editor, EventFields::kData, "hello");
    editor->createEvent();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{});
    const Event& lyric = eventAt(1, 0);
    EXPECT_TRUE(lyric.isMeta(5));
    EXPECT_EQ(lyric.data2(), 0);
    EXPECT_EQ(lyric.data3(), 5);
    EXPECT_EQ(std::string(lyric.data().begin(), lyric.data().end()), "hello");

    addEvent(2, 0, Event::kStatusMeta, 0x21, 0);
    addEvent(2, 0, Event::kStatusMeta, 0x0A, 0);
    editor = open();
    std::vector<std::string> kinds;
    for (const EventListEditor::Line& line : editor->lines()) {
        const std::string kind = line.text.substr(line.text.rfind('\t') + 1);
        kinds.push_back(kind.substr(kind.find_first_not_of(' ')));
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"Program Change ", "Lyric ", "Port ", "Meta 10 "}));
}

// Like a load, the song shows the signatures it starts with: one typed at the start becomes the
// song's, a later one is a change of its own. A new key respells the notes as a load would.
TEST_F(EventListEditorTest, SignaturesAtTheStartAreTheSongsAndANewKeyRespellsItsNotes) {
    addEvent(0, 0, Event::kStatusMeta, Event::kMetaKeySignature, 0);
    const StaffPitch f = song.spellKey(65);
    song.track(1).add(std::make_unique<Note>(0, 80, 120, f.position, f.accidental, 0));
    auto editor = open();
    editor->chooseTrack(0);
    editor->chooseEventName(8);
    editor->chooseMetaName(9);  // Key Signature
    type(*editor, EventFields::kValue2, "1");
    type(*editor, EventFields::kBeat, "1:0");
    editor->createEvent();
    EXPECT_EQ(song.keySignatureSum(), 0) << "a change in bar 2 leaves the start alone";
    type(*editor, EventFields::kBeat, "0:0");
    editor->createEvent();
    EXPECT_EQ(song.keySignatureSum(), 1);
    const auto& note = static_cast<const Note&>(*song.track(1).at(0));
    EXPECT_EQ(note.accidental(), 2) << "F natural in G major carries a natural sign";
    editor->chooseMetaName(8);  // Time Signature
    type(*editor, EventFields::kValue2, "3");
    type(*editor, EventFields::kValue3, "16");
    editor->createEvent();
    EXPECT_EQ(song.timeSignature, (TimeSignature{3, 16}));
    close(*editor);
    history.undo();
    EXPECT_EQ(song.keySignatureSum(), 0);
    EXPECT_EQ(song.timeSignature, TimeSignature{});
    EXPECT_EQ(static_cast<const Note&>(*song.track(1).at(0)).accidental(), 0);
}

TEST_F(EventListEditorTest, ValueChangeKeepsTheEventsPlaceAndIsOneUndoStep) {
    addEvent(2, 0, 0xB2, 0, 1);
    addEvent(2, 0, 0xC2, 5, 0);
    addEvent(2, 0, 0xB2, 7, 90);
    auto editor = open();
    editor->selectLine(1);
    type(*editor, EventFields::kValue1, "40");
    editor->selectLine(2);
    EXPECT_EQ(editor->lines()[1].text, "       0:0\t 3\t          Program Change ");
    close(*editor);
    EXPECT_EQ(eventAt(2, 0).status(), 0xB2);
    EXPECT_EQ(eventAt(2, 1).data1(), 40);
    EXPECT_EQ(eventAt(2, 2).data2(), 90);
    history.undo();
    EXPECT_EQ(eventAt(2, 1).data1(), 5);
    EXPECT_FALSE(history.canUndo());
}

TEST_F(EventListEditorTest, ChangingBeatOrTrackMakesTheEventAgainThere) {
    addEvent(0, 0, 0xC0, 5, 0);
    addEvent(0, 960, 0xC0, 6, 0);
    auto editor = open();
    type(*editor, EventFields::kBeat, "1:0");
    editor->ok();
    ASSERT_EQ(song.track(0).count(), 2);
    EXPECT_EQ(eventAt(0, 0).time(), 480);
    EXPECT_EQ(eventAt(0, 0).data1(), 5);
    editor->chooseTrack(4);
    editor->ok();
    EXPECT_EQ(song.track(0).count(), 1);
    EXPECT_EQ(eventAt(4, 0).status(), 0xC4);
    close(*editor);
    history.undo();
    EXPECT_EQ(song.track(4).count(), 0);
    EXPECT_EQ(eventAt(0, 0).time(), 0);
    EXPECT_EQ(eventAt(0, 1).time(), 960);
}

TEST_F(EventListEditorTest, AMoveThatIsRefusedLosesNothing) {
    addEvent(0, 0, 0xC0, 5, 0);
    auto editor = open();
    type(*editor, EventFields::kBeat, "1:0");
    type(*editor, EventFields::kValue1, "00");
    editor->ok();
    editor->chooseTrack(1);
    type(*editor, EventFields::kType, "0");
    editor->ok();
    ASSERT_EQ(song.track(0).count(), 1);
    EXPECT_EQ(eventAt(0, 0).time(), 0);
    EXPECT_EQ(eventAt(0, 0).data1(), 5);
    EXPECT_EQ(song.track(1).count(), 0);
    EXPECT_EQ(editor->take(), nullptr);
}

TEST_F(EventListEditorTest, TempoEventAtTheStartSetsTheTempoAndCreateWithDeleteIsOneStep) {
    auto editor = open();
    EXPECT_TRUE(editor->lines().empty());
    editor->chooseTrack(0);
    type(*editor, EventFields::kBeat, "0:0");
    type(*editor, EventFields::kType, "255");
    type(*editor, EventFields::kValue1, "81");
    type(*editor, EventFields::kValue2, "100");
    ui.answerNext(IDYES);
    editor->ok();
    ASSERT_EQ(ui.boxes.size(), 1U);
    EXPECT_EQ(ui.boxes[0].text, "Would you like to create this event?");
    EXPECT_EQ(ui.boxes[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(timing.defaultTempo, 100);
    EXPECT_TRUE(eventAt(0, 0).isMeta(Event::kMetaTempo));
    close(*editor);
    history.undo();
    EXPECT_EQ(timing.defaultTempo, 120);
    EXPECT_TRUE(song.track(0).empty());

    // Create and delete in one opening are undone together.
    addEvent(1, 0, 0xC1, 5, 0);
    editor = open();
    type(*editor, EventFields::kBeat, "2:0");
    editor->createEvent();
    EXPECT_EQ(editor->lines().size(), 2U);
    EXPECT_EQ(editor->currentLine(), 1);
    editor->selectLine(0);
    editor->deleteEvent();
    ASSERT_EQ(song.track(1).count(), 1);
    EXPECT_EQ(song.track(1).at(0)->time(), 960);
    close(*editor);
    history.undo();
    ASSERT_EQ(song.track(1).count(), 1);
    EXPECT_EQ(song.track(1).at(0)->time(), 0);
}

TEST_F(EventListEditorTest, TheListStopsAtTenThousandLinesWithOneWarning) {
    for (int i = 0; i < 10500; ++i) {
        addEvent(i % 2, i, 0xB0, 7, 1);
    }
    auto editor = open();
    editor->setShow(EventListShow::EntireSong);
    EXPECT_EQ(editor->lines().size(), 10000U);
    ASSERT_EQ(ui.boxes.size(), 1U);
    EXPECT_EQ(ui.boxes[0].text, "Will only show the first 10000 Events");
    EXPECT_EQ(ui.boxes[0].caption, "Warning");
    EXPECT_EQ(ui.boxes[0].type, MB_OK);
}

TEST_F(EventListEditorTest,
       TrackDetailListsNotesAndTempoChangesApartAndANoteLineOpensTheNoteDetail) {
    addNote(0, 0, 85);
    addEvent(0, 10, 0xFF, Event::kMetaTempo, 90);
    addEvent(0, 20, 0xC0, 1, 0);
    addEvent(1, 30, 0xFF, Event::kMetaTempo, 80);
    auto editor = open(true);
    ASSERT_EQ(editor->lines().size(), 3U);
    EXPECT_EQ(editor->lines()[0].text, "       0:0\t 1\t                 Note On ");
    EXPECT_EQ(editor->fields().text[EventFields::kBeat], "0:0");
    EXPECT_EQ(editor->fields().text[EventFields::kType], "");
    editor->setShow(EventListShow::TempoChanges);
    ASSERT_EQ(editor->lines().size(), 2U);
    EXPECT_EQ(editor->lines()[1].track, 1);

    // A note line opens the Note Detail, and the list follows the note.
    addNote(3, 0, 85);
    addNote(3, 480, 85);
    editor = std::make_unique<EventListEditor>(song, ui, true, EventListEditor::Page{1, 4, 480, 3});
    int entryChannel = 0;
    editor->setNoteDetailRunner([&](RecordedEdits& edits, int track, int index) {
        NoteDetail detail(song, ui, track, index);
        EXPECT_EQ(detail.name(), "C5");
        detail.beat = "2:0";
        detail.channel = "16";
        return detail.apply(edits, entryChannel);
    });
    editor->selectLine(0);
    EXPECT_EQ(static_cast<const Note&>(*song.track(3).at(1)).channel(), 15);
    EXPECT_EQ(song.track(3).at(1)->time(), 960);
    EXPECT_EQ(entryChannel, 15);
    EXPECT_EQ(editor->currentLine(), 1);
    close(*editor);
    history.undo();
    EXPECT_EQ(song.track(3).at(0)->time(), 0);
}

TEST_F(EventListEditorTest, TrackDetailsCurrentPageIsFourBarsWhateverTheWindowShows) {
    for (const int time : {600, 2399, 2400}) {
        addEvent(0, time, 0xC0, 1, 0);
    }
    for (const int barsShown : {2, 6}) {
        EventListEditor editor(song, ui, true, EventListEditor::Page{2, barsShown, 480, 0});
        editor.setShow(EventListShow::CurrentPage);
        ASSERT_EQ(editor.lines().size(), 2U) << barsShown << " bars shown";
        EXPECT_EQ(editor.lines()[1].index, 1) << "the last tick of bar 5";
    }
}

TEST_F(EventListEditorTest, NoteDetailRefusesVelocityAndChannelOutsideTheirRanges) {
    addNote(0, 0, 85);
    RecordedEdits edits(song, "Note Detail");
    int entryChannel = 0;
    for (const auto& [velocity, channel] :
         {std::pair{"128", "1"}, {"0", "1"}, {"64", "0"}, {"64", "17"}}) {
        NoteDetail detail(song, ui, 0, 0);
        detail.velocity = velocity;
        detail.channel = channel;
        EXPECT_EQ(detail.apply(edits, entryChannel), -1);
    }
    for (const char* duration : {"-100", "2147483647"}) {
        NoteDetail detail(song, ui, 0, 0);
        detail.beat = "1:0";
        detail.duration = duration;
        EXPECT_EQ(detail.apply(edits, entryChannel), -1);
    }
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{
                  "Invalid Velocity - Must be 1-127", "Invalid Velocity - Must be 1-127",
                  "Invalid Channel - Must be 1-16", "Invalid Channel - Must be 1-16",
                  "Invalid Duration - Must be 0 or more", "Invalid Duration - Must be 0 or more"}));
    EXPECT_EQ(edits.take(), nullptr);
    NoteDetail rest(song, ui, 0, 0);
    rest.velocity = "1";
    rest.apply(edits, entryChannel);
    EXPECT_EQ(static_cast<const Note&>(*song.track(0).at(0)).position(), 60);
}

TEST(NoteName, LetterOctaveThenAccidental) {
    EXPECT_EQ(noteName(85, 1), "C5#");
    EXPECT_EQ(noteName(130, -1), "B4b");
    EXPECT_EQ(noteName(-110, 0), "G10");
    EXPECT_EQ(noteName(-105, 1), "F10#");
}

}  // namespace
