#include "app/note_detail.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "app/recorded_edits.h"
#include "model/beat_division.h"
#include "model/note_name.h"
#include "model/omb_data.h"
#include "platform/ui.h"

namespace {

// Where a rest sits on the staff.
constexpr int kRestPosition = 60;

const Note& noteAt(const OMBData& song, int track, int index) {
    return static_cast<const Note&>(*song.track(track).at(index));
}

}  // namespace

NoteDetail::NoteDetail(OMBData& song, Ui& ui, int track, int index)
    : song_(song), ui_(ui), track_(track), index_(index) {
    const Note& note = noteAt(song, track, index);
    beat = formatBeatDivision(static_cast<std::uint32_t>(note.start()),
                              song.timeSignature.beatsPerBar, song.timeDivision);
    velocity = std::to_string(note.velocity());
    duration = std::to_string(note.duration());
    channel = std::to_string(note.channel() + 1);
    name_ = noteName(note.position(), note.accidental());
}

int NoteDetail::apply(RecordedEdits& edits, int& entryChannel) {
    const Note& old = noteAt(song_, track_, index_);
    const BeatDivisionTime time =
        parseBeatDivision(beat, song_.timeSignature.beatsPerBar, song_.timeDivision);
    int start = old.start();
    if (time.error != nullptr) {
        ui_.errorBox(time.error);
    } else {
        start = time.time;
    }
    // A note-on of velocity 0 is a note-off: the saved note would be gone.
    const long newVelocity = std::strtol(velocity.c_str(), nullptr, 10);
    if (newVelocity < 1 || newVelocity > 127) {
        ui_.errorBox("Invalid Velocity - Must be 1-127");
        return -1;
    }
    // A note ends at or after its start, within the times a file holds.
    const long newDuration = std::strtol(duration.c_str(), nullptr, 10);
    if (newDuration < 0 || newDuration > INT_MAX - start) {
        ui_.errorBox("Invalid Duration - Must be 0 or more");
        return -1;
    }
    const int newChannel = static_cast<std::uint8_t>(std::strtol(channel.c_str(), nullptr, 10));
    if (newChannel < 1 || newChannel > 16) {
        ui_.errorBox("Invalid Channel - Must be 1-16");
        return -1;
    }
    entryChannel = newChannel - 1;
    const int position = newVelocity == Note::kRestVelocity ? kRestPosition : old.position();
    if (start == old.start() && newVelocity == old.velocity() && newDuration == old.duration() &&
        position == old.position() && newChannel - 1 == old.channel()) {
        return index_;
    }
    auto note = std::make_unique<Note>(start, static_cast<int>(newVelocity),
                                       static_cast<int>(newDuration), position, old.accidental(),
                                       static_cast<std::uint8_t>(newChannel - 1));
    edits.remove(track_, index_);
    song_.changed = true;
    return edits.insert(track_, std::move(note));
}
