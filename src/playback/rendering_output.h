#pragma once

#include <cstdint>
#include <vector>

#include "platform/midi_output.h"

class AudioFileWriter;
class BuiltInSynthesizer;
class Clock;

// The output of an audio export: each message goes to the synthesizer at the clock's time,
// once the audio up to that time has been synthesized and written. The clock's 0 is frame 0.
//
// FluidSynth starts what it is sent at the next block of 64 frames it synthesizes, so the
// audio stops at the first block boundary at or after the message's own frame: a message
// sounds in the block its time falls in, never early, at most 63 frames (1.4 ms at 44.1 kHz)
// late and never drifting, as FluidSynth's own player places the messages of a file.
class RenderingOutput : public MidiOutput {
public:
    // The synthesizer, started without audio, sets the sample rate. All three outlive this.
    RenderingOutput(BuiltInSynthesizer& synthesizer, const Clock& clock, AudioFileWriter& writer);

    // Synthesizes up to the clock's time, then sends. True unless the synthesizer refused the
    // message: a failed write shows in writeFailed().
    bool send(std::span<const std::uint8_t> message) override;

    // Synthesizes the sound that is left after the last message, block by block, until a
    // block of silence (which is written too) or maxFrames.
    void renderTail(std::int64_t maxFrames);

    // A write to the file failed: nothing more is synthesized.
    bool writeFailed() const { return writeFailed_; }
    std::int64_t framesRendered() const { return framesRendered_; }

private:
    // Synthesizes and writes frames; returns whether they were all silent.
    bool renderFrames(std::int64_t frames);
    std::int64_t frameAt(std::uint64_t us) const;

    BuiltInSynthesizer& synthesizer_;
    const Clock& clock_;
    AudioFileWriter& writer_;
    std::int64_t framesRendered_ = 0;
    bool writeFailed_ = false;
    std::vector<float> left_;
    std::vector<float> right_;
};
