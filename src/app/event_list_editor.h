#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/recorded_edits.h"

class Element;
class OMBData;
class Ui;

// The text fields of an event list as the user sees and types them, and which of them the user
// has edited since they were last filled.
struct EventFields {
    enum Field { kBeat, kType, kValue1, kValue2, kValue3, kData, kFieldCount };

    std::array<std::string, kFieldCount> text;
    std::array<bool, kFieldCount> edited{};
    // 0-15, or -1 when no track is chosen.
    int track = -1;
    // Choices of the three name lists (event_names), -1 for none.
    int eventName = -1;
    int systemName = -1;
    int metaName = -1;
};

// Which elements a list shows. The event list offers the page and the whole song; the track
// detail all four.
enum class EventListShow { CurrentTrack, CurrentPage, EntireSong, TempoChanges };

// The event list and the track detail without their window: the lines, the fields of the
// current element, and every change of a MIDI event by its raw numbers. Changes go straight
// into the song and are kept as one undo step for the whole session (take()). Messages go to
// the Ui. Window thread only.
class EventListEditor {
public:
    static constexpr int kMaxLines = 10000;
    static constexpr std::size_t kMaxDataLength = 2000;

    // Where the staff window stands: its first bar (1-based), the bars it shows, its current
    // track.
    struct Page {
        int firstBar = 1;
        int barsShown = 4;
        int ticksPerBar = 0;
        int currentTrack = 0;
    };
    struct Line {
        int track;
        int index;
        std::string text;
    };
    // The note detail of a note line: given the track and index of the note, the note's index
    // after the dialog changed it (recording the change in the edits given), or -1 when it
    // changed nothing.
    using NoteDetailRunner = std::function<int(RecordedEdits& edits, int track, int index)>;

    // trackDetail: the track detail (notes listed, four show options) rather than the event
    // list. The list is filled at once.
    EventListEditor(OMBData& song, Ui& ui, bool trackDetail, Page page);

    bool trackDetail() const { return trackDetail_; }
    const std::vector<Line>& lines() const { return lines_; }
    // -1 when the list is empty.
    int currentLine() const { return currentLine_; }
    EventListShow show() const { return show_; }
    // How often the list was made anew: a window showing it copies it again when this moves.
    int fillCount() const { return fillCount_; }
    // The user types into these; the editor fills them.
    EventFields& fields() { return fields_; }
    const EventFields& fields() const { return fields_; }

    void setTempoObserver(std::function<void()> observer) { tempoChanged_ = std::move(observer); }
    void setNoteDetailRunner(NoteDetailRunner runner) { noteDetail_ = std::move(runner); }

    // The user's choices in the name lists and the track list: they only write into the fields.
    void chooseEventName(int name);
    void chooseTrack(int track);
    void chooseSystemName(int name);
    void chooseMetaName(int name);

    void setShow(EventListShow show);
    // A click on a line: pending changes are applied to the current element first.
    void selectLine(int line);
    void createEvent();
    void deleteEvent();
    // OK: pending changes are applied; the dialog closes whatever the outcome.
    void ok();
    bool pending() const;

    // Everything changed so far, as one step; null when nothing was.
    std::unique_ptr<UndoStep> take() { return edits_.take(); }

private:
    enum class Applied { Refused, Changed, Created };
    // The values of the fields once every check passed.
    struct Checked {
        int track;
        int time;
        int type;
        int value1;
        int value2;
        int value3;
        std::string data;
    };

    void fill();
    bool listed(const Element& element) const;
    void showLine(int line);
    void clearFields();
    Element* currentElement() const;
    Applied apply(bool createMode);
    bool check(Checked& values, bool& create, bool& removeCurrent);
    bool checkValues(Checked& values, bool create);
    // The checks of what a file can hold, after the general ranges have passed.
    bool checkFileValues(const Checked& values, bool create);
    void changeCurrent(const Checked& values);
    // True when the song's key changed.
    bool changeSongValues(const Checked& values);
    int createElement(const Checked& values);
    void selectElement(const Element* element);
    void openNoteDetail(int line);

    OMBData& song_;
    Ui& ui_;
    bool trackDetail_;
    Page page_;
    EventListShow show_;
    std::vector<Line> lines_;
    int currentLine_ = -1;
    int fillCount_ = 0;
    EventFields fields_;
    bool nameChanged_ = false;
    RecordedEdits edits_;
    std::function<void()> tempoChanged_;
    NoteDetailRunner noteDetail_;
};
