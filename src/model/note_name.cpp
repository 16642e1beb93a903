#include "model/note_name.h"

#include "model/pitch.h"

std::string noteName(int position, int accidental) {
    static constexpr char kLetters[] = "CCDDEFFGGAAB";
    const int key = keyOf(position, 0);
    std::string name = kLetters[key % 12] + std::to_string(key / 12);
    if (accidental == -1) {
        name += 'b';
    } else if (accidental == 1) {
        name += '#';
    }
    return name;
}
