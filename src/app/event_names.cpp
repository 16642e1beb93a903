#include "app/event_names.h"

#include <cstdio>

#include "model/beat_division.h"
#include "model/event.h"

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

std::string metaKindOf(int metaType) {
    const int name = metaNameOf(Event::kStatusMeta, metaType);
    if (name >= 0) {
        return kMetaNames[static_cast<std::size_t>(name)];
    }
    switch (metaType) {
        case 0:
            return "Sequence Number";
        case 0x20:
            return "Channel Prefix";
        case 0x21:
            return "Port";
        case 0x54:
            return "SMPTE Offset";
        case Event::kMetaSynthSpecific:
            return "Synth Specific";
        default:
            return "Meta " + std::to_string(metaType);
    }
}

std::string lineText(const Element& element, int track, int beatsPerBar, int division) {
    std::string kind = "Note On";
    if (element.isEvent()) {
        const auto& event = static_cast<const Event&>(element);
        const int name = eventNameOf(event.status());
        kind = name == kMetaEvent ? metaKindOf(event.data1()) : name >= 0 ? kEventNames[name] : "";
    }
    const std::string beat =
        formatBeatDivision(static_cast<std::uint32_t>(element.time()), beatsPerBar, division);
    char line[64];
    std::snprintf(line, sizeof line, "%10s\t%2d\t%24s ", beat.c_str(), track + 1, kind.c_str());
    return line;
}

}  // namespace event_names
