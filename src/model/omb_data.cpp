#include "model/omb_data.h"

#include <algorithm>
#include <climits>

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
