// Random edit sequences made through the functions the window uses (clicks, cut, copy and paste,
// Set First Note, Delete Current Track, the key and time signature choices, Transpose, Volume,
// Note Detail and the event list with typed values in and out of range, undo and redo), each
// sequence saved and loaded again: the loaded song must equal the edited one, element by
// element. Whatever an edit path lets into the song, a file must keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/event_list_editor.h"
#include "app/note_detail.h"
#include "app/recorded_edits.h"
#include "model/omb_data.h"
#include "model/song_edits.h"
#include "model/undo_history.h"
#include "platform/null_ui.h"
#include "smf/midi_file.h"
#include "staff/edit_settings.h"
#include "staff/note_editor.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"
#include "support/no_canvas.h"
#include "support/random_staff_edits.h"
#include "support/scratch_dir.h"

namespace {

// A note as a file keeps it.
using NoteKey = std::tuple<int, int, int, int, int>;  // start, end, key, channel, velocity
// An event as a file keeps it.
using EventKey = std::tuple<int, int, int, int, int, std::vector<std::uint8_t>>;

struct TrackContent {
    std::vector<NoteKey> notes;
    std::vector<EventKey> events;
    bool operator==(const TrackContent&) const = default;
};

// What a file can tell of a track. Notes of one key and channel that overlap cannot be told
// apart by a file: their note-offs pair with their note-ons oldest first, so the edited song
// is paired the same way before the two are compared.
TrackContent contentOf(const OMBData& song, int t) {
    TrackContent content;
    std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> starts;  // start, velocity
    std::map<std::pair<int, int>, std::vector<int>> ends;
    const Track& track = song.track(t);
    for (int i = 0; i < track.count(); ++i) {
        const Element& element = *track.at(i);
        if (element.isNote()) {
            const auto& note = static_cast<const Note&>(element);
            const std::pair<int, int> voice{song.keyOf(note.position(), note.accidental()),
                                            note.channel()};
            starts[voice].push_back({note.start(), note.velocity()});
            ends[voice].push_back(note.start() + note.duration());
            continue;
        }
        const auto& event = static_cast<const Event&>(element);
        content.events.emplace_back(
            event.time(), event.status(), event.data1(), event.data2(), event.data3(),
            std::vector<std::uint8_t>(event.data().begin(), event.data().end()));
    }
    for (auto& [voice, onsets] : starts) {
        std::vector<int>& offsets = ends[voice];
        std::stable_sort(onsets.begin(), onsets.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::sort(offsets.begin(), offsets.end());
        for (std::size_t i = 0; i < onsets.size(); ++i) {
            content.notes.emplace_back(onsets[i].first, offsets[i], voice.first, voice.second,
                                       onsets[i].second);
        }
    }
    std::sort(content.notes.begin(), content.notes.end());
    return content;
}

// The lines of one description that the other lacks.
std::string missingFrom(const std::string& lines, const std::string& other) {
    std::string missing;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        if (other.find(line + "\n") == std::string::npos) {
            missing += "  " + line + "\n";
        }
    }
    return missing;
}

std::string describe(const TrackContent& content) {
    std::string text;
    for (const auto& [start, end, key, channel, velocity] : content.notes) {
        text += "note " + std::to_string(start) + "-" + std::to_string(end) + " key " +
                std::to_string(key) + " ch " + std::to_string(channel) + " vel " +
                std::to_string(velocity) + "\n";
    }
    for (const auto& [time, status, data1, data2, data3, bytes] : content.events) {
        text += "event " + std::to_string(time) + " " + std::to_string(status) + " " +
                std::to_string(data1) + " " + std::to_string(data2) + " " + std::to_string(data3) +
                " (" + std::to_string(bytes.size()) + " bytes)\n";
    }
    return text;
}

Event* meta(int time, int type, int data2, int data3, std::string_view text = {}) {
    return new Event(time, Event::kStatusMeta,
                     {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, type, data2,
                     data3);
}

class RoundTripPropertyTest : public testing::TestWithParam<unsigned> {
protected:
    RoundTripPropertyTest() : random(GetParam()) {
        settings.inputMode = EditSettings::InputMode::FreeForm;
        Track& first = song.track(0);
        first.add(std::unique_ptr<Element>(meta(0, Event::kMetaTempo, 100, 0)));
        first.add(std::unique_ptr<Element>(meta(0, Event::kMetaTimeSignature, 3, 4)));
        first.add(std::unique_ptr<Element>(meta(0, Event::kMetaKeySignature, -1, 1)));
        first.add(std::unique_ptr<Element>(meta(0, Event::kMetaText, 0, 5, "intro")));
        first.add(std::unique_ptr<Element>(meta(360, 6, 0, 6, "Chorus")));  // a marker
        first.add(std::unique_ptr<Element>(meta(720, Event::kMetaTimeSignature, 6, 8)));
        song.timeSignature = {3, 4};
        song.keySignature = {-1, 0, 0, 0, 0, 0, 0};
        for (int i = 0; i < 16; ++i) {
            const StaffPitch pitch = song.spellKey(55 + i);
            song.track(i % 3).add(std::make_unique<Note>(i * 60, 70 + i, 90, pitch.position,
                                                         pitch.accidental, i % 2));
        }
        song.track(1).add(
            std::make_unique<Event>(90, 0xB0, std::span<const std::uint8_t>{}, 7, 90, 0));
        const std::uint8_t sysex[] = {0x43, 0x10, 0xF7};
        song.track(2).add(std::make_unique<Event>(0, 0xF0, sysex, 0, 0, 3));
        song.track(2).add(std::unique_ptr<Element>(meta(240, 5, 0, 2, "la")));  // a lyric
    }

    int between(int low, int high) { return staffEdits.between(low, high); }
    // A typed number, now and then outside every range a field allows.
    std::string typed(int low, int high) {
        switch (between(0, 9)) {
            case 0:
                return std::to_string(between(-300, 300));
            case 1:
                return between(0, 1) == 0 ? "" : "x";
            default:
                return std::to_string(between(low, high));
        }
    }

    void randomEdit() {
        view.currentTrack = between(0, 3);
        page.setFirstBar(between(1, 3));
        switch (between(0, 15)) {
            case 0:
            case 1:
                staffEdits.enterOnTheStaff();
                break;
            case 2:
                staffEdits.enterOnThePianoRoll();
                break;
            case 3:
                staffEdits.cutOrCopy();
                break;
            case 4:
                staffEdits.paste();
                break;
            case 5:
                staffEdits.setFirstNote();
                break;
            case 6:
                if (between(0, 3) == 0) {
                    editor.deleteCurrentTrack();
                }
                break;
            case 7:
                record("Key Signature",
                       [this](UndoStep& step) { setKeySignature(song, between(-7, 7), &step); });
                break;
            case 8:
                record("Time Signature", [this](UndoStep& step) {
                    setTimeSignature(song, {between(2, 6), between(0, 1) == 0 ? 4 : 8}, &step);
                });
                break;
            case 9:
                record("Transpose", [this](UndoStep& step) {
                    transposeNotes(song, between(0, 1) == 0 ? kEveryTrack : view.currentTrack,
                                   between(-127, 127), between(0, 1) == 0, &step);
                });
                break;
            case 10:
                record("Volume", [this](UndoStep& step) {
                    changeVelocities(song, between(0, 1) == 0 ? kEveryTrack : view.currentTrack,
                                     between(-127, 127), &step);
                });
                break;
            case 11:
                noteDetail();
                break;
            case 12:
            case 13:
                eventList();
                break;
            default:
                if (history.canUndo() && between(0, 1) == 0) {
                    editor.undo();
                } else {
                    editor.redo();
                }
                break;
        }
    }
    template <typename Edit>
    void record(const char* name, const Edit& edit) {
        auto step = std::make_unique<UndoStep>(name, UndoStep::kNowhere);
        edit(*step);
        if (!step->empty()) {
            history.record(std::move(step));
        }
    }

    // Note Detail on a note of the current track, with typed values.
    void noteDetail() {
        const Track& track = song.track(view.currentTrack);
        std::vector<int> notes;
        for (int i = 0; i < track.count(); ++i) {
            if (track.at(i)->isNote()) {
                notes.push_back(i);
            }
        }
        if (notes.empty()) {
            return;
        }
        NoteDetail detail(song, ui, view.currentTrack,
                          notes[static_cast<std::size_t>(between(0, notes.size() - 1))]);
        if (between(0, 1) == 0) {
            detail.velocity = typed(0, 127);
        }
        if (between(0, 1) == 0) {
            detail.duration = typed(0, 500);
        }
        if (between(0, 2) == 0) {
            detail.channel = typed(1, 16);
        }
        if (between(0, 2) == 0) {
            detail.beat = std::to_string(between(0, 6)) + ":" + std::to_string(between(0, 400));
        }
        RecordedEdits edits(song, "Note Detail");
        int entryChannel = 0;
        detail.apply(edits, entryChannel);
        if (auto step = edits.take()) {
            history.record(std::move(step));
        }
    }

    // An event list session: a few lines changed or made with typed values.
    void eventList() {
        EventListEditor list(song, ui, between(0, 1) == 0,
                             {1, 4, page.ticksPerBar(), view.currentTrack});
        list.setShow(EventListShow::EntireSong);
        for (int action = between(1, 3); action > 0; --action) {
            if (static_cast<int>(list.lines().size()) > 0) {
                list.selectLine(between(0, static_cast<int>(list.lines().size()) - 1));
            }
            EventFields& fields = list.fields();
            list.chooseTrack(between(0, 3));
            fields.text[EventFields::kBeat] =
                std::to_string(between(0, 5)) + ":" + std::to_string(between(0, 300));
            const int kind = between(0, 5);
            const int type = kind == 0   ? between(0x80, 0xEF)
                             : kind == 1 ? between(0xF0, 0xFE)
                                         : 0xFF;
            fields.text[EventFields::kType] = std::to_string(type);
            const int metaType =
                std::array{
                    1, 3, 5, 6, 47, 81, 88, 89, 127, between(0, 200)}[static_cast<std::size_t>(
                    between(0, 9))];
            fields.text[EventFields::kValue1] =
                type == 0xFF ? std::to_string(metaType) : typed(0, 127);
            fields.text[EventFields::kValue2] = typed(-7, 255);
            fields.text[EventFields::kValue3] = std::to_string(
                std::array{0, 1, 2, 3, 4, 8, 16, 64, 128}[static_cast<std::size_t>(between(0, 8))]);
            fields.text[EventFields::kData] = std::string(between(0, 3) * 70, 'a' + between(0, 25));
            fields.edited.fill(true);
            if (between(0, 1) == 0 || static_cast<int>(list.lines().size()) == 0) {
                list.createEvent();
            } else {
                list.ok();
            }
        }
        if (auto step = list.take()) {
            history.record(std::move(step));
        }
    }

    std::mt19937 random;
    SongTiming timing;
    OMBData song{timing};
    UndoHistory history{song};
    StaffPage page{song, 4};
    StaffViewState view;
    EditSettings settings;
    Track pasteBuffer{-1};
    NullUi ui;
    NoCanvas canvas;
    NoteEditor editor{song, history, page, view, settings, pasteBuffer, ui, canvas};
    RandomStaffEdits staffEdits{editor, view, random};
    ScratchDir dir;
};

TEST_P(RoundTripPropertyTest, EverySequenceOfEditsSavesAndLoadsAsTheSameSong) {
    const std::filesystem::path file = dir.path() / "song.mid";
    for (int sequence = 0; sequence < 40; ++sequence) {
        for (int edit = between(5, 40); edit > 0; --edit) {
            randomEdit();
        }
        ASSERT_TRUE(MidiFile(song, ui).write(file, ""));
        SongTiming loadedTiming;
        OMBData loaded(loadedTiming);
        ASSERT_TRUE(MidiFile(loaded, ui).load(file));
        ASSERT_EQ(loaded.timeDivision, song.timeDivision);
        // A file holds no empty track but the first: the tracks after one move up.
        int t = 0;
        for (int edited = 0; edited < OMBData::kTrackCount; ++edited) {
            if (edited > 0 && song.track(edited).empty()) {
                continue;
            }
            const TrackContent before = contentOf(song, edited);
            const TrackContent after = contentOf(loaded, t++);
            ASSERT_EQ(after, before)
                << "sequence " << sequence << ", track " << edited + 1 << "\nlost:\n"
                << missingFrom(describe(before), describe(after)) << "gained:\n"
                << missingFrom(describe(after), describe(before));
        }
        // The saved song goes on being edited, with a history of its own.
        history.forget();
        pasteBuffer.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTripPropertyTest,
                         testing::Values(1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u, 55u, 89u));

}  // namespace
