#include "app/recorder.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "app/application.h"
#include "app/record_target.h"
#include "model/note.h"
#include "model/omb_data.h"
#include "model/track.h"
#include "model/track_splice.h"
#include "model/undo_history.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "playback/callbacks.h"
#include "playback/midi_input_queue.h"
#include "staff/staff_page.h"

Recorder::Recorder(Application& app, CommandPoster& mainWindow)
    : app_(app), mainWindow_(mainWindow) {}

Recorder::~Recorder() = default;

bool Recorder::start(RecordTarget& target) {
    target_ = &target;
    track_ = target.currentTrack();
    target.playedPage().setFirstBar(1);
    target.repaintPage();
    target.refreshStatusBar();
    if (app_.device.outputEnabled()) {
        if (!app_.device.openOutput(true)) {
            app_.ui.notice("Could not initialize the output device");
        } else if (const int program = target.playedSong().program[track_];
                   program != OMBData::kNoProgram) {
            app_.device.sendProgramChange(track_, program);
        }
    }
    const Track& notes = target.playedSong().track(track_);
    before_.clear();
    for (int i = 0; i < notes.count(); ++i) {
        before_.push_back(notes.at(i));
    }
    heldNotes_.clear();
    if (!RecordOpen()) {
        app_.device.closeOutput();
        target_ = nullptr;
        return false;
    }
    return true;
}

bool Recorder::RecordOpen() {
    position_ = 0;
    openedMs_ = app_.clock.milliseconds();
    queue_ = std::make_unique<MidiInputQueue>();
    input_ = app_.device.openInput([this, queue = queue_.get()](const MidiInputEvent& event) {
        midiInputCallback(mainWindow_, *queue, event);
    });
    if (!input_) {
        queue_.reset();
        app_.ui.errorBox("Can not open MIDI input device");
        return false;
    }
    app_.ui.notice("Recording Started");
    return true;
}

void Recorder::drainInput() {
    MidiInputEvent event;
    while (queue_ && queue_->pop(event)) {
        process(event);
    }
}

std::uint32_t Recorder::stop() {
    if (!recording()) {
        return 0;
    }
    // The input's thread ends here, so nothing is queued after the last drain.
    input_.reset();
    drainInput();
    const std::uint32_t lost = queue_->dropped();
    queue_.reset();
    app_.device.closeOutput();
    // The keys still down sounded until now, whether or not a message came since.
    const int stopPosition =
        std::max(position_, ticksAt(sinceLeadIn(app_.clock.milliseconds() - openedMs_)));
    for (const HeldNote& held : heldNotes_) {
        held.note->setDuration(std::max(0, stopPosition - held.note->start()));
    }
    auto splice = std::make_unique<TrackSplice>(track_);
    splice->putSince(target_->playedSong().track(track_), before_);
    auto step = std::make_unique<UndoStep>(kStepName, 0);
    step->add(std::move(splice));
    target_->history().record(std::move(step));
    // Notes still held at Stop show too.
    target_->repaintPage();
    before_.clear();
    heldNotes_.clear();
    target_ = nullptr;
    return lost;
}

int Recorder::ticksAt(std::uint32_t timestampMs) const {
    const long long ticks = static_cast<long long>(timestampMs) * app_.timing.defaultTempo *
                            target_->playedSong().timeDivision / 60000;
    return static_cast<int>(std::clamp<long long>(ticks, 0, INT_MAX));
}

void Recorder::process(const MidiInputEvent& event) {
    const int status = static_cast<int>(event.packedMessage & 0xFF);
    const int key = static_cast<int>((event.packedMessage >> 8) & 0x7F);
    const int velocity = static_cast<int>((event.packedMessage >> 16) & 0x7F);
    const int kind = status & 0xF0;
    if (kind != 0x80 && kind != 0x90) {
        return;
    }
    position_ = ticksAt(sinceLeadIn(event.timestampMs));
    if (kind == 0x90 && velocity > 0) {
        noteOn(key, velocity, status & 0x0F);
    } else {
        // Most keyboards end a note with 0x80; either form ends it.
        noteOff(key, status & 0x0F);
    }
}

void Recorder::noteOn(int key, int velocity, int channel) {
    OMBData& song = target_->playedSong();
    const StaffPitch pitch = song.spellKey(key);
    const StaffPage& page = target_->playedPage();
    // Snapped to the page's pixel grid; a position left of the page maps back from x 0,
    // never before the song's start.
    const int start = std::max(0, page.XToTick(page.TickToX(position_)));
    // Velocity 1 marks a rest: the softest key press is kept as the softest sounding note.
    auto note = std::make_unique<Note>(start, std::max(velocity, Note::kLowestSoundingVelocity),
                                       position_, pitch.position, pitch.accidental,
                                       static_cast<std::uint8_t>(channel));
    // The echo goes first: the player hears the note before it is stored.
    echo(0x90 | channel, keyOf(pitch.position, pitch.accidental), velocity);
    heldNotes_.push_back({note.get(), key, channel});
    song.track(track_).add(std::move(note));
    song.changed = true;
}

void Recorder::noteOff(int key, int channel) {
    const StaffPitch pitch = target_->playedSong().spellKey(key);
    // The latest note of this take of that key and channel still held: of two presses of one
    // key the first release ends the later note, the second the earlier. Notes that were in
    // the track before the take are never touched.
    echo(0x80 | channel, keyOf(pitch.position, pitch.accidental), 0);
    const auto found = std::find_if(heldNotes_.rbegin(), heldNotes_.rend(), [&](const HeldNote& n) {
        return n.key == key && n.channel == channel;
    });
    if (found != heldNotes_.rend()) {
        Note& note = *found->note;
        heldNotes_.erase(std::next(found).base());
        note.setDuration(std::max(0, position_ - note.start()));
        target_->drawHighlight(note, track_);
    }
    target_->turnPageTo(position_);
}

void Recorder::echo(int status, int key, int velocity) {
    const std::uint8_t message[] = {static_cast<std::uint8_t>(status),
                                    static_cast<std::uint8_t>(key),
                                    static_cast<std::uint8_t>(velocity)};
    app_.device.sendShort(message);
}
