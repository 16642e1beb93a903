#include "playback/sound_font_state.h"

#include <algorithm>

namespace {

using Reverb = BuiltInSynthesizer::Reverb;
using Chorus = BuiltInSynthesizer::Chorus;

// Rooms grow from a small bright room to a large one; halls are larger and longer still;
// the plate is bright and dense (little damping); the delays are narrow and dark, the
// panning one wide.
constexpr std::array<Reverb, SoundFontState::kEffectTypes> kReverbs{{
    {true, 0.20, 0.50, 0.5, 0.45},   // ROOM 1
    {true, 0.35, 0.40, 0.7, 0.50},   // ROOM 2
    {true, 0.50, 0.35, 0.8, 0.55},   // ROOM 3
    {true, 0.75, 0.30, 1.0, 0.65},   // HALL 1
    {true, 0.95, 0.20, 1.0, 0.75},   // HALL 2
    {true, 0.65, 0.05, 1.0, 0.70},   // PLATE
    {true, 0.45, 0.85, 0.2, 0.60},   // DELAY
    {true, 0.45, 0.70, 10.0, 0.60},  // PANNING DELAY
    {false, 0.0, 0.0, 0.0, 0.0},     // NONE
}};

constexpr int kSine = 0;
constexpr int kTriangle = 1;

// Choruses deepen and quicken from 1 to 4; the delays use few voices and long depths, the
// flanger one voice with a short, fast sweep.
constexpr std::array<Chorus, SoundFontState::kEffectTypes> kChoruses{{
    {true, 3, 1.2, 0.3, 6.0, kSine},       // CHORUS 1
    {true, 3, 1.6, 0.4, 8.0, kSine},       // CHORUS 2
    {true, 4, 2.0, 0.5, 10.0, kSine},      // CHORUS 3
    {true, 5, 2.2, 0.8, 12.0, kTriangle},  // CHORUS 4
    {true, 2, 3.0, 0.2, 24.0, kSine},      // FEEDBACK DELAY
    {true, 1, 2.5, 1.2, 3.0, kTriangle},   // FLANGER
    {true, 1, 1.5, 0.1, 16.0, kSine},      // SHORT DELAY
    {true, 2, 2.5, 0.1, 16.0, kTriangle},  // SHORT DELAY FB
    {false, 0, 0.0, 0.0, 0.0, kSine},      // NONE
}};

int clampedType(int type) {
    return std::clamp(type, 0, SoundFontState::kEffectTypes - 1);
}

}  // namespace

BuiltInSynthesizer::BankSelectStyle SoundFontState::styleOf(int synthBank) {
    return synthBank == 1 ? BuiltInSynthesizer::BankSelectStyle::Gs
                          : BuiltInSynthesizer::BankSelectStyle::GeneralMidi;
}

Reverb SoundFontState::reverbOf(int type) {
    return kReverbs[static_cast<std::size_t>(clampedType(type))];
}

Chorus SoundFontState::chorusOf(int type) {
    return kChoruses[static_cast<std::size_t>(clampedType(type))];
}

void SoundFontState::applyTo(BuiltInSynthesizer& synthesizer) const {
    synthesizer.setBankSelectStyle(styleOf(synthBank));
    synthesizer.setReverb(reverbOf(reverbType));
    synthesizer.setChorus(chorusOf(chorusType));
    for (const auto& [bank, file] : userBanks) {
        synthesizer.loadSoundFont(file, bank);
    }
}
