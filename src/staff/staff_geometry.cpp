#include "staff/staff_geometry.h"

#include <algorithm>

namespace staff_geometry {

bool isStaffLine(int y) {
    return std::ranges::find(kTrebleLines, y) != kTrebleLines.end() ||
           std::ranges::find(kBassLines, y) != kBassLines.end();
}

namespace {

// The line a glyph at y sits on or just above: glyphs at odd multiples of 5 hang between lines.
int lineBase(int y) {
    return y % 10 == 0 ? y : y + 5;
}

}  // namespace

std::vector<int> staffLinesUnder(int y) {
    std::vector<int> lines;
    for (const int line : {lineBase(y), lineBase(y) + 10, lineBase(y) + 20}) {
        if (isStaffLine(line)) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<int> ledgerLines(int y) {
    const int base = lineBase(y);
    std::vector<int> lines;
    if (base > -11 && base < 34) {
        for (int line = base + 10; line <= 40; line += 10)
            lines.push_back(line);
    } else if (base > 80 && base <= 105) {
        for (int line = 80; line <= base + 10; line += 10)
            lines.push_back(line);
    } else if (base > 105 && base < 140) {
        for (int line = base + 10; line <= 140; line += 10)
            lines.push_back(line);
    } else if (base > 180 && base < 225) {
        for (int line = 180; line <= base + 10; line += 10)
            lines.push_back(line);
    }
    return lines;
}

char eventLetter(int status) {
    static constexpr char kLetters[] = {'N', 'N', 'K', 'C', 'P', 'C', 'P', 'S'};
    const int index = (status - 0x80) / 16;
    return index >= 0 && index < 8 ? kLetters[index] : 'S';
}

int rollNoteTop(int position, int accidental) {
    const int height = position > 100 ? position - 40 : position;
    int top = kRollRowHeight * (height / 5) + 65;
    if (accidental == -1) {
        top += 5;
    } else if (accidental == 1) {
        top -= 5;
    }
    return top;
}

RollPitch rollPitchAt(int y, int shift) {
    const int row = (y + shift - 2) / kRollRowHeight;
    int position = 5 * row - 35;
    if (position > 85) {
        position += 40;
    }
    const int within = (y - 2) % kRollRowHeight;
    return {position, within < 2 ? 1 : within > 6 ? -1 : 0};
}

}  // namespace staff_geometry
