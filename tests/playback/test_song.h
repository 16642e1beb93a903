#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "model/omb_data.h"

// Songs for playback tests, built element by element.

inline void addNote(OMBData& song, int track, int start, int key, int duration, int velocity = 100,
                    std::uint8_t channel = 0) {
    const StaffPitch pitch = song.spellKey(key);
    song.track(track).add(std::make_unique<Note>(start, velocity, duration, pitch.position,
                                                 pitch.accidental, channel));
}

inline void addEvent(OMBData& song, int track, int time, int status, int data1, int data2 = 0,
                     int data3 = 0, std::span<const std::uint8_t> data = {}) {
    song.track(track).add(std::make_unique<Event>(time, status, data, data1, data2, data3));
}

inline void addTempo(OMBData& song, int track, int time, int bpm) {
    addEvent(song, track, time, Event::kStatusMeta, Event::kMetaTempo, bpm);
}
