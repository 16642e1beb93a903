#include "model/omb_data.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

OMBData::OMBData(SongTiming& timing) : timing_(timing) {
    for (int t = 0; t < kTrackCount; ++t) {
        tracks_[t] = std::make_unique<Track>(t);
    }
    reset();
}

void OMBData::reset() {
    changed = false;
    program.fill(kNoProgram);
    format = 1;
    timeDivision = kDefaultDivision;
    trackCount = kTrackCount;
    keySignature.fill(0);
    timeSignature = {};
    title_.clear();
    author_.clear();
    for (auto& track : tracks_) {
        track->clear();
    }
}

std::string OMBData::tracksLeftOutText() const {
    return "Only 16 of the " + std::to_string(trackCount) + " tracks opened";
}

void OMBData::setTitle(std::string_view title) {
    title_ = title.substr(0, kMaxTextLength);
}

void OMBData::setAuthor(std::string_view author) {
    author_ = author.substr(0, kMaxTextLength);
}

void OMBData::chooseKeySignature(int sharps) {
    sharps = std::clamp(sharps, -7, 7);
    for (int slot = 0; slot < 7; ++slot) {
        keySignature[slot] = slot < std::abs(sharps) ? (sharps > 0 ? 1 : -1) : 0;
    }
    for (const Place place : metaAtStart(Event::kMetaKeySignature)) {
        static_cast<Event*>(track(place.track).at(place.index))->setData2(sharps);
    }
    changed = true;
}

void OMBData::chooseTimeSignature(TimeSignature signature) {
    timeSignature = signature;
    for (const Place place : metaAtStart(Event::kMetaTimeSignature)) {
        auto* event = static_cast<Event*>(track(place.track).at(place.index));
        event->setData2(signature.beatsPerBar);
        event->setData3(signature.beatUnit);
    }
    changed = true;
}

std::vector<OMBData::Place> OMBData::metaAtStart(int type) const {
    std::vector<Place> places;
    int start = INT_MAX;
    for (int t = 0; t < kTrackCount; ++t) {
        const Track& elements = *tracks_[t];
        for (int i = 0; i < elements.count() && elements.at(i)->time() <= start; ++i) {
            const Element* element = elements.at(i);
            if (!element->isEvent() || !static_cast<const Event*>(element)->isMeta(type)) {
                continue;
            }
            if (element->time() < start) {
                start = element->time();
                places.clear();
            }
            places.push_back({t, i});
        }
    }
    return places;
}

int OMBData::metaStartTime(int type) const {
    const std::vector<Place> places = metaAtStart(type);
    return places.empty() ? INT_MAX
                          : tracks_[places.front().track]->at(places.front().index)->time();
}

void OMBData::applyPrograms() {
    for (int t = 0; t < kTrackCount; ++t) {
        if (program[t] >= 0) {
            tracks_[t]->setProgramAtStart(program[t], Event::kStatusProgramChange + t);
        }
    }
}

int OMBData::firstNoteTime() const {
    int first = INT_MAX;
    for (const auto& track : tracks_) {
        for (int i = 0; i < track->count(); ++i) {
            if (track->at(i)->isNote()) {
                first = std::min(first, track->at(i)->time());
                break;
            }
        }
    }
    return first == INT_MAX ? 0 : first;
}
