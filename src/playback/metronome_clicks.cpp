#include "playback/metronome_clicks.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "model/event.h"
#include "model/omb_data.h"
#include "model/track.h"

namespace {

// The first multiple of step at or after distance; distance may be negative.
std::int64_t stepsToReach(std::int64_t distance, std::int64_t step) {
    return distance <= 0 ? 0 : (distance + step - 1) / step;
}

double usPerTickOf(std::uint32_t usPerQuarter, int division) {
    return static_cast<double>(usPerQuarter) / division;
}

}  // namespace

MetronomeClicks::MetronomeClicks(const OMBData& song, int soloTrack, bool eighthsInCompound,
                                 bool followTempo, int songTempo, int originTick, int countInBars)
    : division_(std::max(song.timeDivision, 1)),
      eighthsInCompound_(eighthsInCompound),
      originTick_(originTick) {
    meters_.push_back({0, song.timeSignature});
    std::vector<Meter> changes;
    // The tempo a play starts with at the origin: each track's last tempo before it, a later
    // track over an earlier one.
    std::uint32_t usPerQuarter = Event::usPerQuarterOf(songTempo);
    std::vector<Tempo> tempoChanges;
    for (int t = 0; t < OMBData::kTrackCount; ++t) {
        const Track& track = song.track(t);
        const bool plays = soloTrack < 0 || soloTrack == t;
        for (int i = 0; i < track.count(); ++i) {
            const Element* element = track.at(i);
            if (!element->isEvent()) {
                continue;
            }
            const auto* event = static_cast<const Event*>(element);
            if (event->isMeta(Event::kMetaTimeSignature) && event->data2() >= 1 &&
                event->data3() >= 1) {
                changes.push_back({event->time(), {event->data2(), event->data3()}});
            } else if (followTempo && event->isMeta(Event::kMetaTempo)) {
                if (event->time() <= originTick) {
                    if (event->data2() > 0) {
                        usPerQuarter = event->usPerQuarter();
                    }
                } else if (plays) {
                    // A tempo of 0 plays as the song-wide tempo.
                    const std::uint32_t us = event->data2() > 0 ? event->usPerQuarter()
                                                                : Event::usPerQuarterOf(songTempo);
                    tempoChanges.push_back({event->time(), usPerTickOf(us, division_), 0});
                }
            }
        }
    }
    // At one tick the later track's event is the one that holds, as when they play.
    std::stable_sort(changes.begin(), changes.end(),
                     [](const Meter& a, const Meter& b) { return a.tick < b.tick; });
    for (const Meter& change : changes) {
        if (change.tick == meters_.back().tick) {
            meters_.back() = change;
        } else if (!(change.signature == meters_.back().signature)) {
            // Restating the meter in force starts no new bar: a file may state its meter a
            // tick or so into the song.
            meters_.push_back(change);
        }
    }
    tempos_.push_back({originTick, usPerTickOf(usPerQuarter, division_), 0});
    std::stable_sort(tempoChanges.begin(), tempoChanges.end(),
                     [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
    for (Tempo change : tempoChanges) {
        const Tempo& last = tempos_.back();
        change.offsetUs = last.offsetUs + last.usPerTick * (change.tick - last.tick);
        tempos_.push_back(change);
    }
    const TimeSignature& atOrigin = meterAt(originTick).signature;
    const std::int64_t countInTicks =
        std::int64_t{std::clamp(countInBars, 0, 2)} * beatsPerBar(atOrigin) * beatTicks(atOrigin);
    countInStart_ = static_cast<int>(std::max<std::int64_t>(originTick - countInTicks, INT_MIN));
}

MetronomeClicks::Click MetronomeClicks::next(int tick) const {
    if (tick < originTick_) {
        const TimeSignature& signature = meterAt(originTick_).signature;
        const int beat = beatTicks(signature);
        const std::int64_t k = stepsToReach(std::int64_t{tick} - countInStart_, beat);
        const std::int64_t at = countInStart_ + k * beat;
        if (at < originTick_) {
            return {static_cast<int>(at), k % beatsPerBar(signature) == 0};
        }
        tick = originTick_;
    }
    const Meter& meter = meterAt(tick);
    const int beat = beatTicks(meter.signature);
    const std::int64_t k = stepsToReach(std::int64_t{tick} - meter.tick, beat);
    const std::int64_t at = meter.tick + k * beat;
    const auto following = std::upper_bound(meters_.begin(), meters_.end(), tick,
                                            [](int t, const Meter& m) { return t < m.tick; });
    if (following != meters_.end() && following->tick <= at) {
        return {following->tick, true};
    }
    return {static_cast<int>(std::min<std::int64_t>(at, INT_MAX)),
            k % beatsPerBar(meter.signature) == 0};
}

std::int64_t MetronomeClicks::offsetUs(int tick) const {
    auto tempo = std::upper_bound(tempos_.begin(), tempos_.end(), tick,
                                  [](int t, const Tempo& m) { return t < m.tick; });
    const Tempo& inForce = tempo == tempos_.begin() ? tempos_.front() : *std::prev(tempo);
    return std::llround(inForce.offsetUs +
                        inForce.usPerTick * (static_cast<double>(tick) - inForce.tick));
}

bool MetronomeClicks::compound(const TimeSignature& signature) const {
    return signature.beatUnit >= 8 && signature.beatsPerBar > 3 && signature.beatsPerBar % 3 == 0;
}

int MetronomeClicks::beatTicks(const TimeSignature& signature) const {
    const int unitTicks = std::max(division_ * 4 / std::max(signature.beatUnit, 1), 1);
    return compound(signature) && !eighthsInCompound_ ? 3 * unitTicks : unitTicks;
}

int MetronomeClicks::beatsPerBar(const TimeSignature& signature) const {
    const int beats = std::max(signature.beatsPerBar, 1);
    return compound(signature) && !eighthsInCompound_ ? beats / 3 : beats;
}

const MetronomeClicks::Meter& MetronomeClicks::meterAt(int tick) const {
    const auto following = std::upper_bound(meters_.begin(), meters_.end(), tick,
                                            [](int t, const Meter& m) { return t < m.tick; });
    return following == meters_.begin() ? meters_.front() : *std::prev(following);
}
