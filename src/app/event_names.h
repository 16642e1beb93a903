#pragma once

#include <array>
#include <string>

class Element;

// The names the event lists give MIDI messages, and the text of one list line.
namespace event_names {

// Index i names status (i + 8) x 16 for i 0-7; the last, kMetaEvent, names status 255.
inline constexpr std::array<const char*, 9> kEventNames = {
    "Note Off",           "Note On",    "Key Aftertouch", "Control Change", "Program Change",
    "Channel Aftertouch", "Pitch Bend", "System Message", "Meta Event"};
inline constexpr int kSystemMessage = 7;
inline constexpr int kMetaEvent = 8;

// Index i names status 0xF0 + i.
inline constexpr std::array<const char*, 16> kSystemNames = {"System Exclusive",
                                                             "MTC Quarter Frame",
                                                             "Song Position Pointer",
                                                             "Song Select",
                                                             "Undefined",
                                                             "Undefined",
                                                             "Tune Request",
                                                             "System Exclusive End",
                                                             "Timing Clock",
                                                             "Undefined",
                                                             "Start",
                                                             "Continue",
                                                             "Stop",
                                                             "Undefined",
                                                             "Active Sensing",
                                                             "System Reset"};

// The meta types a meta event can be given by name, and their names.
inline constexpr std::array<const char*, 10> kMetaNames = {
    "Text",   "Copyright", "Track Name", "Instrument Name", "Lyric",
    "Marker", "Cue Point", "Tempo",      "Time Signature",  "Key Signature"};
inline constexpr std::array<int, 10> kMetaTypes = {1, 2, 3, 4, 5, 6, 7, 81, 88, 89};

// What a list line calls a meta event of the type: its name, or "Meta" and the type's number
// for a type without one.
std::string metaKindOf(int metaType);

// The status an event name gives a message of the track: the track is its channel.
int statusOf(int eventName, int track);
// The event name, system message name and meta name that a status (and a meta event's type)
// selects; -1 where none applies.
int eventNameOf(int status);
int systemNameOf(int status);
int metaNameOf(int status, int metaType);

// One list line: the time as Beat:Division right-aligned in 10 characters, a tab, the track
// number 1-16, a tab, the kind name right-aligned in 24 characters and a blank. A note reads
// "Note On", a meta event by its meta kind.
std::string lineText(const Element& element, int track, int beatsPerBar, int division);

}  // namespace event_names
