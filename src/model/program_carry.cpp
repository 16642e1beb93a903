#include "model/program_carry.h"

#include <memory>
#include <vector>

#include "model/omb_data.h"
#include "model/song_values.h"
#include "model/track_splice.h"
#include "model/undo_step.h"

namespace {

// The program change Track::setProgramAtStart would change: the first one at tick 0; -1 when
// there is none.
int programChangeAtStart(const Track& track) {
    for (int i = 0; i < track.count() && track.at(i)->time() == 0; ++i) {
        if (track.at(i)->isEvent() && static_cast<const Event*>(track.at(i))->isProgramChange()) {
            return i;
        }
    }
    return -1;
}

// The program change at index takes the program: the old event is taken out and a changed
// copy put in its place, so that the record can hold the old one.
std::unique_ptr<TrackSplice> changeProgram(Track& track, int index, int program) {
    auto splice = std::make_unique<TrackSplice>(track.number());
    std::unique_ptr<Element> old = track.removeAt(index);
    std::unique_ptr<Element> changed = old->copy();
    static_cast<Event&>(*changed).setData1(program);
    std::vector<AbstractArray::Placed> placed;
    placed.push_back({index, std::move(changed)});
    track.placeEach(placed);
    splice->taken(index, std::move(old));
    splice->put(index);
    return splice;
}

std::unique_ptr<TrackSplice> insertProgram(Track& track, int program) {
    std::vector<const Element*> before;
    before.reserve(static_cast<std::size_t>(track.count()));
    for (int i = 0; i < track.count(); ++i) {
        before.push_back(track.at(i));
    }
    track.setProgramAtStart(program, Event::kStatusProgramChange + track.number());
    auto splice = std::make_unique<TrackSplice>(track.number());
    splice->putSince(track, before);
    return splice;
}

}  // namespace

void carryPrograms(OMBData& song, const std::array<int, 16>& programs, UndoStep& record) {
    if (song.program != programs) {
        const SongValues before = SongValues::of(song);
        song.program = programs;
        record.add(std::make_unique<SongValuesChange>(before, song));
    }
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const int program = song.program[t];
        if (program < 0) {
            continue;
        }
        Track& track = song.track(t);
        const int existing = programChangeAtStart(track);
        if (existing >= 0 && static_cast<const Event*>(track.at(existing))->data1() == program) {
            continue;
        }
        std::unique_ptr<TrackSplice> splice =
            existing >= 0 ? changeProgram(track, existing, program) : insertProgram(track, program);
        if (!splice->empty()) {
            record.add(std::move(splice));
        }
    }
}
