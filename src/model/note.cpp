#include "model/note.h"

#include "model/element_pool.h"

static_assert(sizeof(Note) <= ElementPool::kMaxBlockBytes);

Note::Note(int start, int velocity, int duration, int position, int accidental,
           std::uint8_t channel, const KeySignature& keySignature)
    : Element(Kind::Note, start, position,
              accidental == kAccidentalFromKeySignature
                  ? accidentalFromKeySignature(position, keySignature)
                  : accidental),
      velocity_(velocity),
      duration_(duration),
      channel_(channel) {}
