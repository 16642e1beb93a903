#include "model/pitch.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

constexpr int kNaturalCount = 75;
constexpr int kTopIndex = 52;  // table index of key 89, the natural at position 0
constexpr int kStaffGap = 40;
constexpr int kLowerStaffRaw = 90;  // raw positions from here down are moved by the gap
constexpr int kGapMiddle = 105;     // stored positions from here down lie below the gap

constexpr std::array<int, kNaturalCount> makeNaturalKeys() {
    std::array<int, kNaturalCount> keys{};
    constexpr int kSteps[7] = {0, 2, 4, 5, 7, 9, 11};
    for (int i = 0; i < kNaturalCount; ++i) {
        keys[i] = i / 7 * 12 + kSteps[i % 7];
    }
    return keys;
}
constexpr std::array<int, kNaturalCount> kNaturalKeys = makeNaturalKeys();

// For a pitch class, the key-signature slot holding that letter's sharp, or its flat.
constexpr int kSharpSlot[12] = {1, 1, 3, 3, 5, 0, 0, 2, 2, 4, 4, 6};
constexpr int kFlatSlot[12] = {5, 5, 3, 3, 1, 6, 6, 4, 4, 2, 2, 0};

// Positions outside the keyboard (a click far above or below the staves) clamp to its ends.
constexpr int naturalAtPosition(int position) {
    if (position >= kGapMiddle) {
        position -= kStaffGap;
    }
    return kNaturalKeys[std::clamp(kTopIndex - position / 5, 0, kNaturalCount - 1)];
}

// The keyboard's ends: every position above the first or below the last has their key.
constexpr int kTopmostPosition = -110;
constexpr int kLowestPosition = 300;
static_assert(naturalAtPosition(kTopmostPosition - 5) == naturalAtPosition(kTopmostPosition));
static_assert(naturalAtPosition(kLowestPosition + 5) == naturalAtPosition(kLowestPosition));

// The key of each position with a flat, without a sign and with a sharp. A sharp on the top G
// or a flat on the bottom C has no key: it keeps to a valid data byte. Notes of both staves,
// sharps, flats and naturals come in no order a branch could predict, and a save or a play
// asks the key of every note: it is looked up, not worked out.
constexpr auto kKeyAtPosition = [] {
    std::array<std::array<std::uint8_t, 3>, kLowestPosition - kTopmostPosition + 1> keys{};
    for (int position = kTopmostPosition; position <= kLowestPosition; ++position) {
        for (int shift = -1; shift <= 1; ++shift) {
            keys[position - kTopmostPosition][shift + 1] =
                static_cast<std::uint8_t>(std::clamp(naturalAtPosition(position) + shift, 0, 127));
        }
    }
    return keys;
}();

}  // namespace

int keyOf(int position, int accidental) {
    const int shift = accidental == -1 || accidental == 1 ? accidental : 0;
    return kKeyAtPosition[std::clamp(position, kTopmostPosition, kLowestPosition) -
                          kTopmostPosition][shift + 1];
}

StaffPitch spellKey(int key, const KeySignature& keySignature) {
    key = std::clamp(key, 0, 127);
    const auto found = std::upper_bound(kNaturalKeys.begin(), kNaturalKeys.end(), key) - 1;
    const int index = static_cast<int>(found - kNaturalKeys.begin());
    const int pitchClass = key % 12;
    StaffPitch pitch{(kTopIndex - index) * 5, 0};
    if (*found == key) {
        if (keySignature[kFlatSlot[pitchClass]] == -1 ||
            keySignature[kSharpSlot[pitchClass]] == 1) {
            pitch.accidental = 2;
        }
    } else if (pitchClass == 1 || pitchClass == 6) {
        pitch.accidental = 1;
    } else {
        pitch.accidental = -1;
        pitch.position -= 5;
    }
    if (pitch.position >= kLowerStaffRaw) {
        pitch.position += kStaffGap;
    }
    return pitch;
}

StaffPitch adjustAccidental(StaffPitch pitch, const KeySignature& keySignature) {
    // A note without a sign sounds its letter natural: where the key alters that letter, it
    // needs a natural sign to look as it sounds.
    const int fromKey = accidentalFromKeySignature(pitch.position, keySignature);
    if (pitch.accidental == fromKey || (pitch.accidental == 2 && fromKey == 0)) {
        return {pitch.position, 0};
    }
    StaffPitch respelled = spellKey(keyOf(pitch.position, pitch.accidental), keySignature);
    respelled.accidental = std::clamp(respelled.accidental, -1, 2);
    return respelled;
}

int accidentalFromKeySignature(int position, const KeySignature& keySignature) {
    const int pitchClass = keyOf(position, 0) % 12;
    if (keySignature[kFlatSlot[pitchClass]] < 0) {
        return -1;
    }
    return keySignature[kSharpSlot[pitchClass]] > 0 ? 1 : 0;
}

int keySignatureSum(const KeySignature& keySignature) {
    return std::accumulate(keySignature.begin(), keySignature.end(), 0);
}
