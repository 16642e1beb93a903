#include "model/note.h"

#include "model/element_pool.h"

static_assert(sizeof(Note) <= ElementPool::kMaxBlockBytes);
static_assert(sizeof(Note) <= 24, "a million notes should take no more than 24 MB");

Note::Note(int start, int velocity, int duration, int position, int accidental,
           std::uint8_t channel, const KeySignature& keySignature)
    : Element(Kind::Note, start, position,
              accidental == kAccidentalFromKeySignature
                  ? accidentalFromKeySignature(position, keySignature)
                  : accidental),
      duration_(duration),
      velocity_(dataByte(velocity)),
      channel_(channel) {}
