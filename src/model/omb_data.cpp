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
    title_.clear();
    author_.clear();
    for (auto& track : tracks_) {
        track->clear();
    }
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
    for (auto& track : tracks_) {
        for (int i = 0; i < track->count() && track->at(i)->time() == 0; ++i) {
            Element* element = track->at(i);
            if (element->isEvent() &&
                static_cast<Event*>(element)->isMeta(Event::kMetaKeySignature)) {
                static_cast<Event*>(element)->setData2(sharps);
            }
        }
    }
    changed = true;
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
