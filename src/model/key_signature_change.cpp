#include "model/key_signature_change.h"

#include "model/omb_data.h"

KeySignatureChange::KeySignatureChange(const OMBData& song, int sharps)
    : sharps_(sharps), slots_(song.keySignature) {
    for (const OMBData::Place place : song.metaAtStart(Event::kMetaKeySignature)) {
        const auto* event = static_cast<const Event*>(song.track(place.track).at(place.index));
        events_.push_back({place.track, place.index, event->data2()});
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
