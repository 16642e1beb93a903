#pragma once

#include <filesystem>

// The directory holding the program's own files (midimap.syn, help pages, songs, about.bmp):
// - the source tree's resources/ when the running executable lies inside the build tree it
//   was built in;
// - share/tolvar32 beside the executable's bin/ folder, when that exists: the installed tree
//   wherever it was put (a package's /usr, a staging DESTDIR, a moved prefix);
// - otherwise <install prefix>/share/tolvar32 as configured.
// The last is not checked to exist.
std::filesystem::path dataDirectory();
