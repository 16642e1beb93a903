#pragma once

#include <array>

class OMBData;
class UndoStep;

// Gives the song these per-track programs and carries every track's program (when it has
// one) into the track as a program change at tick 0, as OMBData::applyPrograms does, recording
// all of it in record: one step takes the programs and the program changes back together.
void carryPrograms(OMBData& song, const std::array<int, 16>& programs, UndoStep& record);
