#pragma once

#include <filesystem>

// The directory holding the program's own files (midimap.syn, help pages, bitmaps): the source
// tree's resources/ when the running executable lies inside the build tree it was built in,
// otherwise <install prefix>/share/tolvar32. Both are fixed when the program is configured;
// neither is checked to exist.
std::filesystem::path dataDirectory();
