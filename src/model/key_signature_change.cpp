#include "model/key_signature_change.h"

#include "model/omb_data.h"

KeySignatureChange::KeySignatureChange(const OMBData& song, int sharps)
    : sharps_(sharps), slots_(song.keySignature) {
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& elements = song.track(t);
        for (int i = 0; i < elements.count() && elements.at(i)->time() == 0; ++i) {
            const Element* element = elements.at(i);
            if (element->isEvent() &&
                static_cast<const Event*>(element)->isMeta(Event::kMetaKeySignature)) {
                events_.push_back({t, i, static_cast<const Event*>(element)->data2()});
            }
        }
    }
}

void KeySignatureChange::choose(OMBData& song) const {
    song.chooseKeySignature(sharps_);
}

void KeySignatureChange::undo(OMBData& song) {
    song.keySignature = slots_;
    for (const KeyEvent& event : events_) {
        static_cast<Event*>(song.track(event.track).at(event.index))->setData2(event.data2);
    }
}

std::size_t KeySignatureChange::sizeInBytes() const {
    return sizeof(*this) + events_.capacity() * sizeof(KeyEvent);
}
