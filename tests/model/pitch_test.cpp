#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/note.h"
#include "model/pitch.h"

namespace {

// The fifteen key signatures, from seven flats to seven sharps.
std::vector<KeySignature> allKeySignatures() {
    std::vector<KeySignature> keys;
    for (int sum = -7; sum <= 7; ++sum) {
        KeySignature key{};
        for (int slot = 0; slot < (sum < 0 ? -sum : sum); ++slot) {
            key[slot] = sum < 0 ? -1 : 1;
        }
        keys.push_back(key);
    }
    return keys;
}

// The key a reader takes from the staff: a note without an accidental sign gets what the
// key signature gives its letter.
int keyAsShown(StaffPitch pitch, const KeySignature& key) {
    if (pitch.accidental != 0) {
        return keyOf(pitch.position, pitch.accidental);
    }
    return keyOf(pitch.position, accidentalFromKeySignature(pitch.position, key));
}

const KeySignature kCMajor{};
const KeySignature kFMajor{-1, 0, 0, 0, 0, 0, 0};
const KeySignature kGMajor{1, 0, 0, 0, 0, 0, 0};

TEST(PitchSpelling, SpellsEachKeyOnItsLetterWithTheKeysAccidental) {
    EXPECT_EQ(spellKey(89, kCMajor), (StaffPitch{0, 0}));
    EXPECT_EQ(spellKey(91, kCMajor), (StaffPitch{-5, 0}));
    EXPECT_EQ(spellKey(60, kCMajor), (StaffPitch{85, 0}));
    EXPECT_EQ(spellKey(59, kCMajor), (StaffPitch{130, 0}));
    EXPECT_EQ(spellKey(61, kCMajor), (StaffPitch{85, 1}));
    EXPECT_EQ(spellKey(63, kCMajor), (StaffPitch{75, -1})) << "E flat on the E position";
    EXPECT_EQ(spellKey(58, kCMajor), (StaffPitch{130, -1})) << "B flat below middle C";
    EXPECT_EQ(spellKey(71, kFMajor), (StaffPitch{55, 2})) << "B natural in F major";
    EXPECT_EQ(spellKey(65, kGMajor), (StaffPitch{70, 2})) << "F natural in G major";
}

TEST(PitchSpelling, EveryKeyRoundTripsUnderEveryKeySignature) {
    for (const KeySignature& key : allKeySignatures()) {
        for (int k = 0; k < 128; ++k) {
            const StaffPitch spelled = spellKey(k, key);
            const std::string where = "key " + std::to_string(k) + ", signature sum " +
                                      std::to_string(keySignatureSum(key));
            ASSERT_EQ(keyOf(spelled.position, spelled.accidental), k) << where;
            EXPECT_EQ(spelled.position % 5, 0) << where;
            EXPECT_FALSE(spelled.position > 85 && spelled.position < 130)
                << where << ": no pitch is spelled inside the gap between the staves";
            const StaffPitch adjusted = adjustAccidental(spelled, key);
            EXPECT_EQ(keyAsShown(adjusted, key), k)
                << where << " (adjusted accidental " << adjusted.accidental << ")";
        }
    }
}

// Positions inside the gap map back by forty; positions off the keyboard stay valid keys.
TEST(PitchSpelling, EveryPositionGivesAValidKey) {
    EXPECT_EQ(keyOf(105, 0), keyOf(65, 0));
    EXPECT_EQ(keyOf(129, 0), keyOf(89, 0));
    EXPECT_EQ(keyOf(130, 0), 59);
    EXPECT_EQ(keyOf(85, 0), 60);
    EXPECT_EQ(keyOf(-3, 0), 89) << "division truncates toward zero";
    EXPECT_EQ(keyOf(-110, 0), 127);
    EXPECT_EQ(keyOf(-110, 1), 127);
    EXPECT_EQ(keyOf(-109, 0), 125);
    EXPECT_EQ(keyOf(299, 0), 2);
    EXPECT_EQ(keyOf(299, -1), 1);
    EXPECT_EQ(keyOf(-5000, 0), 127);
    EXPECT_EQ(keyOf(300, 0), 0);
    EXPECT_EQ(keyOf(300, -1), 0);
    EXPECT_EQ(keyOf(9000, 0), 0);
}

TEST(PitchAccidentals, AdjustDropsWhatTheKeySignatureSupplies) {
    EXPECT_EQ(adjustAccidental({55, -1}, kFMajor), (StaffPitch{55, 0})) << "B flat in F major";
    EXPECT_EQ(adjustAccidental({70, 1}, kGMajor), (StaffPitch{70, 0})) << "F sharp in G major";
    EXPECT_EQ(adjustAccidental({55, 2}, kFMajor), (StaffPitch{55, 2})) << "keeps B natural";
    EXPECT_EQ(adjustAccidental({55, 2}, kCMajor), (StaffPitch{55, 0}));
    EXPECT_EQ(adjustAccidental({75, 1}, kCMajor), (StaffPitch{70, 0})) << "E sharp is F";
    // A note without a sign sounds its letter natural: where the key alters the letter it must
    // show a natural, or F in G major would read as F sharp.
    EXPECT_EQ(adjustAccidental({70, 0}, kGMajor), (StaffPitch{70, 2}));
    EXPECT_EQ(adjustAccidental({55, 0}, kFMajor), (StaffPitch{55, 2}));
    // A sharp the key does not give keeps its pitch: B sharp in G major is shown as C.
    EXPECT_EQ(keyOf(adjustAccidental({55, 1}, kGMajor).position,
                    adjustAccidental({55, 1}, kGMajor).accidental),
              keyOf(55, 1));
    // A note asked to take its accidental from the key signature does.
    EXPECT_EQ(Note(0, 80, 120, 70, kAccidentalFromKeySignature, 0, kGMajor).accidental(), 1);
    EXPECT_EQ(Note(0, 80, 120, 55, kAccidentalFromKeySignature, 0, kFMajor).accidental(), -1);
    EXPECT_EQ(Note(0, 80, 120, 85, kAccidentalFromKeySignature, 0, kGMajor).accidental(), 0);
    EXPECT_EQ(Note(0, 80, 120, 85, 1, 0, kGMajor).accidental(), 1);
}

}  // namespace
