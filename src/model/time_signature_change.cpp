#include "model/time_signature_change.h"

#include "model/omb_data.h"

TimeSignatureChange::TimeSignatureChange(const OMBData& song, TimeSignature chosen)
    : chosen_(chosen), before_(song.timeSignature) {
    for (const OMBData::Place place : song.metaAtStart(Event::kMetaTimeSignature)) {
        const auto* event = static_cast<const Event*>(song.track(place.track).at(place.index));
        events_.push_back({place.track, place.index, {event->data2(), event->data3()}});
    }
}

void TimeSignatureChange::choose(OMBData& song) const {
    song.chooseTimeSignature(chosen_);
}

void TimeSignatureChange::undo(OMBData& song) {
    song.timeSignature = before_;
    for (const SignatureEvent& event : events_) {
        auto* signature = static_cast<Event*>(song.track(event.track).at(event.index));
        signature->setData2(event.signature.beatsPerBar);
        signature->setData3(event.signature.beatUnit);
    }
}

std::size_t TimeSignatureChange::sizeInBytes() const {
    return sizeof(*this) + events_.capacity() * sizeof(SignatureEvent);
}
