#include "model/cut_copy_paste.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>

#include "model/omb_data.h"

bool copySelection(OMBData& song, int track, const ElementSelection& selection, bool cut,
                   Track& pasteBuffer) {
    Track& elements = song.track(track);
    int index = elements.firstAtOrAfter(selection.fromTick);
    if (index < 0) {
        return false;
    }
    int hint = pasteBuffer.count();
    while (index < elements.count()) {
        const Element& element = *elements.at(index);
        if (selection.throughTick != 0 && element.time() > selection.throughTick) {
            break;
        }
        const bool take =
            element.isEvent() || selection.takesNote(static_cast<const Note&>(element));
        if (take) {
            pasteBuffer.addWithHint(element.copy(), hint);
        }
        if (take && cut) {
            elements.destroyAt(index);
        } else {
            ++index;
        }
    }
    if (cut) {
        song.changed = true;
    }
    return true;
}

void pasteElements(OMBData& song, int track, const Track& pasteBuffer, int offsetTicks) {
    if (pasteBuffer.empty()) {
        return;
    }
    Track& elements = song.track(track);
    for (int i = 0; i < pasteBuffer.count(); ++i) {
        std::unique_ptr<Element> copy = pasteBuffer.at(i)->copy();
        const std::int64_t time = std::int64_t{copy->time()} + offsetTicks;
        copy->setTime(static_cast<int>(std::clamp<std::int64_t>(time, 0, INT_MAX)));
        elements.add(std::move(copy));
    }
    song.changed = true;
}
