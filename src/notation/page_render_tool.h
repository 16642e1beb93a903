#pragma once

#include <iosfwd>
#include <optional>
#include <span>

// `tolvar32 --render-page FILE.mid OUT.png [--piano] [--bar N] [--track N] [--size WxH]`:
// draws a staff window's client area as it would show the song, status bar included, into a
// PNG, without a display. Nothing when the arguments are not this tool's; else the exit
// status (0 written, 1 the song or the image failed, 2 bad arguments).
std::optional<int> runPageRenderTool(std::span<char* const> arguments, std::ostream& err);
