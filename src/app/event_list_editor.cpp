#include "app/event_list_editor.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/event_names.h"
#include "model/beat_division.h"
#include "model/omb_data.h"
#include "model/song_values.h"
#include "platform/ui.h"

namespace names = event_names;

namespace {

// A typed number as the C library's atoi reads it: leading blanks, a sign, the digits up to
// the first other character; no digits read as 0.
long readNumber(const std::string& text) {
    return std::clamp<long>(std::strtol(text.c_str(), nullptr, 10), INT_MIN, INT_MAX);
}

}  // namespace

EventListEditor::EventListEditor(OMBData& song, Ui& ui, bool trackDetail, Page page)
    : song_(song),
      ui_(ui),
      trackDetail_(trackDetail),
      page_(page),
      show_(trackDetail ? EventListShow::CurrentTrack : EventListShow::CurrentPage),
      edits_(song, trackDetail ? "Track Detail" : "Events") {
    fill();
}

bool EventListEditor::listed(const Element& element) const {
    if (element.isNote()) {
        return trackDetail_ && show_ != EventListShow::TempoChanges;
    }
    return show_ != EventListShow::TempoChanges ||
           static_cast<const Event&>(element).isMeta(Event::kMetaTempo);
}

void EventListEditor::fill() {
    lines_.clear();
    currentLine_ = -1;
    ++fillCount_;
    const bool onPage = show_ == EventListShow::CurrentPage;
    std::int64_t start = 0;
    std::int64_t end = INT64_MAX;
    if (onPage) {
        // The track detail's page is four bars, whatever the window shows.
        const int bars = trackDetail_ ? 3 : page_.barsShown;
        start = std::int64_t{page_.firstBar - 1} * page_.ticksPerBar;
        end = std::int64_t{page_.firstBar + bars} * page_.ticksPerBar;
    }
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        if (show_ == EventListShow::CurrentTrack && t != page_.currentTrack) {
            continue;
        }
        const Track& elements = song_.track(t);
        int i = 0;
        if (onPage && page_.firstBar >= 2) {
            i = elements.firstAtOrAfter(
                static_cast<int>(std::min<std::int64_t>(start - 1, INT_MAX)));
        }
        for (; i >= 0 && i < elements.count(); ++i) {
            const Element& element = *elements.at(i);
            if (element.time() >= end) {
                break;
            }
            if (!listed(element)) {
                continue;
            }
            if (lines_.size() == kMaxLines) {
                ui_.errorBox("Will only show the first 10000 Events", "Warning", MB_OK);
                t = OMBData::kTrackCount;
                break;
            }
            lines_.push_back(
                {t, i,
                 names::lineText(element, t, song_.timeSignature.beatsPerBar, song_.timeDivision)});
        }
    }
    if (lines_.empty()) {
        clearFields();
    } else {
        showLine(0);
    }
}

Element* EventListEditor::currentElement() const {
    if (currentLine_ < 0) {
        return nullptr;
    }
    const Line& line = lines_[currentLine_];
    return song_.track(line.track).at(line.index);
}

void EventListEditor::clearFields() {
    fields_ = EventFields{};
    nameChanged_ = false;
}

void EventListEditor::showLine(int line) {
    clearFields();
    currentLine_ = line;
    const Element& element = *currentElement();
    fields_.track = lines_[line].track;
    fields_.text[EventFields::kBeat] =
        formatBeatDivision(static_cast<std::uint32_t>(element.time()),
                           song_.timeSignature.beatsPerBar, song_.timeDivision);
    if (element.isNote()) {
        return;
    }
    const auto& event = static_cast<const Event&>(element);
    fields_.text[EventFields::kType] = std::to_string(event.status());
    fields_.text[EventFields::kValue1] = std::to_string(event.data1());
    fields_.text[EventFields::kValue2] = std::to_string(event.data2());
    fields_.text[EventFields::kValue3] = std::to_string(event.data3());
    const auto data = event.data();
    fields_.text[EventFields::kData].assign(data.begin(), data.end());
    fields_.eventName = names::eventNameOf(event.status());
    fields_.systemName = names::systemNameOf(event.status());
    fields_.metaName = names::metaNameOf(event.status(), event.data1());
}

bool EventListEditor::pending() const {
    return nameChanged_ ||
           std::find(fields_.edited.begin(), fields_.edited.end(), true) != fields_.edited.end();
}

void EventListEditor::chooseEventName(int name) {
    fields_.eventName = name;
    fields_.systemName = -1;
    fields_.metaName = -1;
    if (fields_.track >= 0) {
        fields_.text[EventFields::kType] = std::to_string(names::statusOf(name, fields_.track));
    }
    nameChanged_ = true;
}

void EventListEditor::chooseTrack(int track) {
    fields_.track = track;
    if (fields_.eventName >= 0) {
        fields_.text[EventFields::kType] =
            std::to_string(names::statusOf(fields_.eventName, track));
    }
    nameChanged_ = true;
}

void EventListEditor::chooseSystemName(int name) {
    nameChanged_ = true;
    if (fields_.eventName != names::kSystemMessage) {
        fields_.systemName = -1;
        ui_.errorBox("System Messages are used for System Message Events only");
        return;
    }
    fields_.systemName = name;
    fields_.text[EventFields::kType] = std::to_string(0xF0 + name);
}

void EventListEditor::chooseMetaName(int name) {
    nameChanged_ = true;
    if (fields_.eventName != names::kMetaEvent) {
        fields_.metaName = -1;
        ui_.errorBox("Meta Names are used for Meta Events only");
        return;
    }
    fields_.metaName = name;
    const int type = names::kMetaTypes[name];
    fields_.text[EventFields::kValue1] = std::to_string(type);
    if (type == Event::kMetaTimeSignature) {
        fields_.text[EventFields::kValue2] = std::to_string(song_.timeSignature.beatsPerBar);
        fields_.text[EventFields::kValue3] = std::to_string(song_.timeSignature.beatUnit);
    } else if (type == Event::kMetaKeySignature) {
        fields_.text[EventFields::kValue2] = std::to_string(song_.keySignatureSum());
        fields_.text[EventFields::kValue3] = "0";
    }
}

// Checks every field before anything changes, so that a refused apply leaves the song as it
// was: an element to be moved or given to another track is only taken out once the values
// that make it again have passed.
bool EventListEditor::check(Checked& values, bool& create, bool& removeCurrent) {
    if (fields_.track < 0) {
        ui_.errorBox("A Track must be selected");
        return false;
    }
    values.track = fields_.track;
    const Element* current = currentElement();
    // A note line's fields describe no event: what the user types there becomes a new event,
    // and the note stays.
    if (!create && current != nullptr && current->isNote()) {
        create = true;
    }
    if (!create && current != nullptr && values.track != lines_[currentLine_].track) {
        removeCurrent = true;
        create = true;
    }
    if (!create && current == nullptr) {
        if (ui_.errorBox("Would you like to create this event?", std::string(),
                         MB_YESNO | MB_ICONQUESTION) != IDYES) {
            return false;
        }
        create = true;
    }
    const int defaultTime = current != nullptr ? current->time() : 0;
    const BeatDivisionTime time = parseBeatDivision(
        fields_.text[EventFields::kBeat], song_.timeSignature.beatsPerBar, song_.timeDivision);
    values.time = defaultTime;
    if (time.error != nullptr) {
        ui_.errorBox(time.error);
    } else {
        values.time = time.time;
    }
    if (!create && values.time != current->time()) {
        removeCurrent = true;
        create = true;
    }
    return checkValues(values, create);
}

bool EventListEditor::checkValues(Checked& values, bool create) {
    const auto& text = fields_.text;
    values.type = static_cast<int>(readNumber(text[EventFields::kType]));
    if (values.type < 128 || values.type > 255) {
        ui_.errorBox("Invalid Type - Must be 128-255");
        return false;
    }
    const std::string& value1 = text[EventFields::kValue1];
    values.value1 = static_cast<int>(readNumber(value1));
    if (value1.empty() || (values.value1 < 1 && value1 != "0") || values.value1 > 255) {
        ui_.errorBox("Invalid Value1 - Must be 0-255");
        return false;
    }
    const std::string& value2 = text[EventFields::kValue2];
    values.value2 = static_cast<int>(readNumber(value2));
    if (value2.empty() || (values.value2 == 0 && value2 != "0") || values.value2 < -7 ||
        values.value2 > 255) {
        ui_.errorBox("Invalid Value2 - Must be -7  to 255");
        return false;
    }
    values.value3 = static_cast<int>(readNumber(text[EventFields::kValue3]));
    values.data = text[EventFields::kData].substr(0, kMaxDataLength);
    return checkFileValues(values, create);
}

namespace {

bool isPowerOfTwoUpTo64(int value) {
    return value >= 1 && value <= 64 && (value & (value - 1)) == 0;
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The event of checked values as a load of the saved file gives it back: a message keeps only
// the data bytes its status has, and the block only where the file holds bytes (system
// exclusive, and the meta events other than tempo and the signatures).
std::unique_ptr<Event> makeEvent(int time, int type, int value1, int value2, int value3,
                                 std::span<const std::uint8_t> block) {
    const bool twoDataBytes = Event::hasTwoDataBytes(type);
    const bool oneDataByte = (type >= 0xC0 && type < 0xE0) || type == 0xF3;
    const std::span<const std::uint8_t> none;
    if (twoDataBytes || oneDataByte) {
        return std::make_unique<Event>(time, type, none, value1, twoDataBytes ? value2 : 0, 0);
    }
    const int blockSize = static_cast<int>(block.size());
    if (type != Event::kStatusMeta) {
        const bool exclusive = type == Event::kStatusSystemExclusive || type == 0xF7;
        return exclusive ? std::make_unique<Event>(time, type, block, 0, 0, blockSize)
                         : std::make_unique<Event>(time, type, none, 0, 0, 0);
    }
    switch (value1) {
        case Event::kMetaTempo:
            return std::make_unique<Event>(time, type, none, value1, value2, 0);
        case Event::kMetaTimeSignature:
        case Event::kMetaKeySignature:
            return std::make_unique<Event>(time, type, none, value1, value2, value3);
        default:
            return std::make_unique<Event>(time, type, block, value1, 0, blockSize);
    }
}

}  // namespace

// An event the file cannot hold would be dropped or changed by the next save and load: it is
// refused here, where the user can still mend it.
bool EventListEditor::checkFileValues(const Checked& values, bool create) {
    const int type = values.type;
    const bool note = type < 0xA0;
    if ((note && !create) || (!note && !Event::fileKeeps(type))) {
        ui_.errorBox(note ? "Invalid Type - Notes are made with Create Event"
                          : "Invalid Type - Not kept in a Midi file");
        return false;
    }
    const bool channel = type < 0xF0;
    const bool twoDataBytes = Event::hasTwoDataBytes(type);
    if ((channel || type == 0xF2 || type == 0xF3) && values.value1 > 127) {
        ui_.errorBox("Invalid Value1 - Must be 0 to 127");
        return false;
    }
    if (twoDataBytes && (values.value2 < 0 || values.value2 > 127)) {
        ui_.errorBox("Invalid Value2 - Must be 0 to 127");
        return false;
    }
    if (note && values.value2 < 0) {
        ui_.errorBox("Invalid Value2 - Must be 0 to 255");
        return false;
    }
    if (type != Event::kStatusMeta) {
        return true;
    }
    switch (values.value1) {
        case Event::kMetaTempo:
            if (values.value2 < 4) {
                ui_.errorBox("Invalid Value2 - Must be 4 to 255");
                return false;
            }
            return true;
        case Event::kMetaTimeSignature:
            if (values.value2 < 1) {
                ui_.errorBox("Invalid Value2 - Must be 1 to 255");
                return false;
            }
            if (!isPowerOfTwoUpTo64(values.value3)) {
                ui_.errorBox("Invalid Value3 - Must be 1, 2, 4, 8, 16, 32 or 64");
                return false;
            }
            return true;
        case Event::kMetaKeySignature:
            if (values.value2 > 7) {
                ui_.errorBox("Invalid Value2 - Must be -7 to 7");
                return false;
            }
            if (values.value3 != 0 && values.value3 != 1) {
                ui_.errorBox("Invalid Value3 - Must be 0 or 1");
                return false;
            }
            return true;
        default:
            if (values.value1 > 127 || values.value1 == Event::kMetaEndOfTrack) {
                ui_.errorBox("Invalid Value1 - Must be 0 to 127 but not 47");
                return false;
            }
            return true;
    }
}

void EventListEditor::changeCurrent(const Checked& values) {
    const Line& line = lines_[currentLine_];
    const auto& old = static_cast<const Event&>(*currentElement());
    const std::span<const std::uint8_t> block =
        fields_.edited[EventFields::kData] ? bytesOf(values.data) : old.data();
    auto changed =
        makeEvent(old.time(), values.type, values.value1, values.value2, values.value3, block);
    if (old.isMeta(Event::kMetaTempo) && changed->isMeta(Event::kMetaTempo)) {
        // While the bpm stays, the file's exact tempo stays with it.
        changed->setFileTempo(old.usPerQuarter());
    }
    if (old.isMeta(Event::kMetaTimeSignature) && changed->isMeta(Event::kMetaTimeSignature)) {
        const std::array<std::uint8_t, 2> metronome = old.metronome();
        changed->setMetronome(metronome[0], metronome[1]);
    }
    const auto sameData = [](const Event& a, const Event& b) {
        return std::ranges::equal(a.data(), b.data());
    };
    if (changed->status() != old.status() || changed->data1() != old.data1() ||
        changed->data2() != old.data2() || changed->data3() != old.data3() ||
        !sameData(*changed, old)) {
        edits_.replace(line.track, line.index, std::move(changed));
    }
}

// Like a load, the song takes the signatures of its start (the earliest of their kind) and the
// tempo at tick 0: a change later in the song is an event of its own.
bool EventListEditor::changeSongValues(const Checked& values) {
    if (values.type != Event::kStatusMeta) {
        return false;
    }
    const int start = values.value1 == Event::kMetaTempo ? 0 : song_.metaStartTime(values.value1);
    if (values.time > start) {
        return false;
    }
    if (values.value1 == Event::kMetaTempo) {
        song_.timing().defaultTempo = values.value2;
        if (tempoChanged_) {
            tempoChanged_();
        }
    } else if (values.value1 == Event::kMetaTimeSignature) {
        song_.timeSignature = {values.value2, values.value3};
    } else if (values.value1 == Event::kMetaKeySignature) {
        KeySignature key{};
        const int sign = values.value2 < 0 ? -1 : 1;
        for (int slot = 0; slot < std::abs(values.value2); ++slot) {
            key[slot] = sign;
        }
        if (key != song_.keySignature) {
            song_.keySignature = key;
            return true;
        }
    }
    return false;
}

int EventListEditor::createElement(const Checked& values) {
    if (values.type >= 0xA0) {
        return edits_.insert(values.track,
                             makeEvent(values.time, values.type, values.value1, values.value2,
                                       values.value3, bytesOf(values.data)));
    }
    const StaffPitch pitch = song_.spellKey(values.value1);
    return edits_.insert(
        values.track,
        std::make_unique<Note>(values.time, song_.timing().defaultVelocity, values.value2,
                               pitch.position, pitch.accidental, std::uint8_t{1}));
}

EventListEditor::Applied EventListEditor::apply(bool createMode) {
    Checked values;
    bool create = createMode;
    bool removeCurrent = false;
    if (!check(values, create, removeCurrent)) {
        return Applied::Refused;
    }
    const SongValues before = SongValues::of(song_);
    if (!create) {
        changeCurrent(values);
    }
    const bool keyChanged = changeSongValues(values);
    if (removeCurrent) {
        const Line line = lines_[currentLine_];
        edits_.remove(line.track, line.index);
    }
    const Element* made = nullptr;
    if (create) {
        made = song_.track(values.track).at(createElement(values));
    }
    edits_.valuesChanged(before);
    const Element* shown = made != nullptr ? made : currentElement();
    if (keyChanged) {
        // The notes look as they sound under the new key; spelled afresh they may move within
        // their ticks.
        edits_.respellNotes();
    }
    song_.changed = true;
    // Every line after a new element in its track now names the wrong index: the list is
    // made again. The track detail always makes it again.
    if (create || trackDetail_ || keyChanged) {
        fill();
        selectElement(shown);
        return create ? Applied::Created : Applied::Changed;
    }
    fields_.edited.fill(false);
    nameChanged_ = false;
    return Applied::Changed;
}

void EventListEditor::selectElement(const Element* element) {
    for (std::size_t line = 0; line < lines_.size(); ++line) {
        if (song_.track(lines_[line].track).at(lines_[line].index) == element) {
            showLine(static_cast<int>(line));
            return;
        }
    }
}

void EventListEditor::selectLine(int line) {
    Applied applied = Applied::Changed;
    if (pending()) {
        applied = apply(false);
        if (applied == Applied::Changed && !trackDetail_) {
            Line& current = lines_[currentLine_];
            current.text = names::lineText(*currentElement(), current.track,
                                           song_.timeSignature.beatsPerBar, song_.timeDivision);
        }
    }
    if (applied == Applied::Created || line < 0 || line >= static_cast<int>(lines_.size())) {
        return;
    }
    const Line& chosen = lines_[line];
    if (song_.track(chosen.track).at(chosen.index)->isNote()) {
        openNoteDetail(line);
        return;
    }
    showLine(line);
}

void EventListEditor::openNoteDetail(int line) {
    showLine(line);
    if (!noteDetail_) {
        return;
    }
    const Line chosen = lines_[line];
    const int index = noteDetail_(edits_, chosen.track, chosen.index);
    if (index < 0) {
        return;
    }
    // The note was made again and may stand elsewhere in its track now.
    const Element* note = song_.track(chosen.track).at(index);
    fill();
    selectElement(note);
}

void EventListEditor::setShow(EventListShow show) {
    if (trackDetail_ && pending()) {
        apply(false);
    }
    show_ = show;
    fill();
}

void EventListEditor::createEvent() {
    apply(true);
}

void EventListEditor::deleteEvent() {
    if (currentLine_ < 0) {
        return;
    }
    const Line line = lines_[currentLine_];
    edits_.remove(line.track, line.index);
    song_.changed = true;
    fill();
}

void EventListEditor::ok() {
    if (pending()) {
        apply(false);
    }
}
