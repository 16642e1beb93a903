#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string_view>

class OMBData;
class VoiceTable;

// The tools that run without a window: --help, --version, --events, --summary, --convert,
// --list-ports, --play, --export-audio, --export-musicxml.
// Returns the exit status when the arguments name a tool, nothing when they do not.
std::optional<int> runCommandLineTool(std::span<char* const> arguments, std::ostream& out,
                                      std::ostream& err);

// One line per element, tracks 1-16 in order:
//   T<track> <tick> note <key> <velocity> <duration> <channel 1-16>
//   T<track> <tick> event <status> <data1> <data2> <data3> <data block in hex, or ->
void writeEventListing(const OMBData& song, std::ostream& out);

// The song's format, length, division, tempo, time and key signature, then one line per
// non-empty track: number, element count and voice name.
void writeSongSummary(const OMBData& song, const VoiceTable& voices, std::ostream& out);
