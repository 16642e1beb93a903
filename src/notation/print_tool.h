#pragma once

#include <iosfwd>
#include <optional>
#include <span>

// `tolvar32 --print FILE.mid OUT.pdf [--pages FROM-TO]`: prints the song as Print does, all
// pages or the pages asked for, to a PDF file, without a display. Nothing when the arguments
// are not this tool's; else the exit status (0 written, 1 the song, the font or the file
// failed, 2 bad arguments).
std::optional<int> runPrintTool(std::span<char* const> arguments, std::ostream& err);
