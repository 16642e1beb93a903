#include "app/event_names.h"

#include <cstdio>

#include "model/beat_division.h"
#include "model/event.h"
#include "model/song_timing.h"

namespace event_names {

int statusOf(int eventName, int track) {
    return eventName == kMetaEvent ? Event::kStatusMeta : (eventName + 8) * 16 + track;
}

int eventNameOf(int status) {
    if (status == Event::kStatusMeta) {
        return kMetaEvent;
    }
    const int name = (status - 0x80) / 16;
    return name >= 0 && name < kMetaEvent ? name : -1;
}

int systemNameOf(int status) {
    return status >= 0xF0 && status < Event::kStatusMeta ? status - 0xF0 : -1;
}

int metaNameOf(int status, int metaType) {
    if (status != Event::kStatusMeta) {
        return -1;
    }
    for (std::size_t i = 0; i < kMetaTypes.size(); ++i) {
        if (kMetaTypes[i] == metaType) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string lineText(const Element& element, int track, const SongTiming& timing, int division) {
    const char* kind = "Note On";
    if (element.isEvent()) {
        const int name = eventNameOf(static_cast<const Event&>(element).status());
        kind = name >= 0 ? kEventNames[name] : "";
    }
    const std::string beat = formatBeatDivision(static_cast<std::uint32_t>(element.time()),
                                                timing.beatsPerBar, division);
    char line[64];
    std::snprintf(line, sizeof line, "%10s\t%2d\t%24s ", beat.c_str(), track + 1, kind);
    return line;
}

}  // namespace event_names
