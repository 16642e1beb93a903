#pragma once

#include <cstdint>

#include "model/element.h"
#include "model/pitch.h"

// One sounding note, or a rest: a note of velocity 1 is a rest of its duration.
// Its pitch is kept the way the staff shows it, as a staff position and an accidental;
// the key number is computed from them and the song's key signature (see pitch.h).
class Note : public Element {
public:
    static constexpr int kRestVelocity = 1;
    // The softest a sounding note can be: above the rest's mark.
    static constexpr int kLowestSoundingVelocity = 2;

    // An accidental of kAccidentalFromKeySignature takes the accidental the key signature
    // gives the letter at this position.
    Note(int start, int velocity, int duration, int position, int accidental, std::uint8_t channel,
         const KeySignature& keySignature = {});

    int start() const { return time_; }
    int velocity() const { return velocity_; }
    int duration() const { return duration_; }
    int position() const { return secondKey_; }
    int accidental() const { return thirdKey_; }  // -1 flat, 0 none, 1 sharp, 2 natural sign
    std::uint8_t channel() const { return channel_; }
    bool isRest() const { return velocity_ == kRestVelocity; }

    // The setters do not move the note inside its track: whoever changes start or position
    // of a note in a track keeps the track in order.
    void setStart(int start) { time_ = start; }
    // A velocity is a data byte: kept within 0-127.
    void setVelocity(int velocity) { velocity_ = dataByte(velocity); }
    void setDuration(int duration) { duration_ = duration; }
    void setPosition(int position) { setSecondKey(position); }
    void setAccidental(int accidental) { setThirdKey(accidental); }

private:
    static std::uint8_t dataByte(int value) {
        return static_cast<std::uint8_t>(value < 0 ? 0 : value > 127 ? 127 : value);
    }

    // A song holds up to millions of notes: these fill a note to 24 bytes.
    int duration_;
    std::uint8_t velocity_;
    std::uint8_t channel_;
};
