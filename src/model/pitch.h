#pragma once

#include <array>

// How a pitch is kept on the staff.
//
// A note's position is the height of its head: 5 units per diatonic step, larger values lower.
// Key 89 (the F above the treble staff) is at 0, higher keys are negative; the natural keys
// below middle C (key 59 and down) are shifted 40 further down, leaving a gap between the
// staves: key 60 is at 85, key 59 at 130. The accidental is -1 flat, 0 none, 1 sharp,
// 2 natural sign.

// The seven key-signature slots: slot k is +1 when the k-th sharp of F C G D A E B is in the
// key, -1 when the k-th flat of B E A D G C F is, 0 otherwise.
using KeySignature = std::array<int, 7>;

// Passed as a note's accidental: take it from the key signature.
inline constexpr int kAccidentalFromKeySignature = 10;

struct StaffPitch {
    int position;
    int accidental;
    bool operator==(const StaffPitch&) const = default;
};

// The MIDI key of a position and accidental (a natural sign adds nothing).
int keyOf(int position, int accidental);
// The position and accidental the staff shows for a key. Naturals get a natural sign where the
// key signature alters their letter; black keys are C#, E flat, F#, A flat and B flat.
StaffPitch spellKey(int key, const KeySignature& keySignature);
// Drops an accidental that the key signature already supplies; otherwise spells the key of
// the pair afresh, which may move the position.
StaffPitch adjustAccidental(StaffPitch pitch, const KeySignature& keySignature);
// The accidental the key signature gives the letter at a position: -1, 1 or 0.
int accidentalFromKeySignature(int position, const KeySignature& keySignature);
// Sharps (positive) or minus the flats in the key signature.
int keySignatureSum(const KeySignature& keySignature);
