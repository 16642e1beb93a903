#include "model/cut_copy_paste.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/omb_data.h"
#include "model/track_splice.h"
#include "model/undo_step.h"

bool copySelection(OMBData& song, int track, const ElementSelection& selection, bool cut,
                   Track& pasteBuffer, UndoStep* record) {
    Track& elements = song.track(track);
    const int first = elements.firstAtOrAfter(selection.fromTick);
    if (first < 0) {
        return false;
    }
    int hint = pasteBuffer.count();
    std::vector<int> taken;
    for (int index = first; index < elements.count(); ++index) {
        const Element& element = *elements.at(index);
        if (selection.throughTick != 0 && element.time() > selection.throughTick) {
            break;
        }
        if (element.isEvent() || selection.takesNote(static_cast<const Note&>(element))) {
            pasteBuffer.addWithHint(element.copy(), hint);
            taken.push_back(index);
        }
    }
    if (!cut) {
        return true;
    }
    // One pass over the track, however much is cut.
    std::vector<std::unique_ptr<Object>> cutOut = elements.takeEach(taken);
    if (record != nullptr) {
        auto splice = std::make_unique<TrackSplice>(track);
        for (std::size_t i = 0; i < taken.size(); ++i) {
            splice->taken(taken[i],
                          std::unique_ptr<Element>(static_cast<Element*>(cutOut[i].release())));
        }
        record->add(std::move(splice));
    }
    song.changed = true;
    return true;
}

void pasteElements(OMBData& song, int track, const Track& pasteBuffer, int offsetTicks,
                   UndoStep* record) {
    if (pasteBuffer.empty()) {
        return;
    }
    Track& elements = song.track(track);
    std::vector<const Element*> before;
    if (record != nullptr) {
        before.reserve(static_cast<std::size_t>(elements.count()));
        for (int i = 0; i < elements.count(); ++i) {
            before.push_back(elements.at(i));
        }
    }
    for (int i = 0; i < pasteBuffer.count(); ++i) {
        std::unique_ptr<Element> copy = pasteBuffer.at(i)->copy();
        const std::int64_t time = std::int64_t{copy->time()} + offsetTicks;
        copy->setTime(static_cast<int>(std::clamp<std::int64_t>(time, 0, INT_MAX)));
        elements.add(std::move(copy));
    }
    if (record != nullptr) {
        auto splice = std::make_unique<TrackSplice>(track);
        splice->putSince(elements, before);
        record->add(std::move(splice));
    }
    song.changed = true;
}
