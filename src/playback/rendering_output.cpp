#include "playback/rendering_output.h"

#include <algorithm>
#include <cmath>

#include "platform/built_in_synthesizer.h"
#include "platform/clock.h"
#include "playback/audio_file_writer.h"

namespace {

// FluidSynth's block: what it is sent takes effect at the start of its next block.
constexpr std::int64_t kSynthBlockFrames = 64;
// The most frames synthesized in one go.
constexpr std::int64_t kChunkFrames = 4096;
// A sample below half a step of 16-bit PCM (full scale 32767) is 0 there.
constexpr float kSilence = 0.5F / 32767;

}  // namespace

RenderingOutput::RenderingOutput(BuiltInSynthesizer& synthesizer, const Clock& clock,
                                 AudioFileWriter& writer)
    : synthesizer_(synthesizer),
      clock_(clock),
      writer_(writer),
      left_(kChunkFrames),
      right_(kChunkFrames) {}

bool RenderingOutput::send(std::span<const std::uint8_t> message) {
    const std::int64_t frame = frameAt(clock_.microseconds());
    const std::int64_t blockStart =
        (frame + kSynthBlockFrames - 1) / kSynthBlockFrames * kSynthBlockFrames;
    if (blockStart > framesRendered_) {
        renderFrames(blockStart - framesRendered_);
    }
    return synthesizer_.send(message);
}

void RenderingOutput::renderTail(std::int64_t maxFrames) {
    // A hundredth of a second: short enough that the file ends soon after the sound does.
    const std::int64_t blockFrames = std::max(synthesizer_.sampleRateHz() / 100, 1);
    for (std::int64_t done = 0; done < maxFrames && !writeFailed_; done += blockFrames) {
        if (renderFrames(std::min(blockFrames, maxFrames - done))) {
            return;
        }
    }
}

bool RenderingOutput::renderFrames(std::int64_t frames) {
    bool silent = true;
    while (frames > 0 && !writeFailed_) {
        const auto chunk = static_cast<std::size_t>(std::min(frames, kChunkFrames));
        const std::span<float> left(left_.data(), chunk);
        const std::span<float> right(right_.data(), chunk);
        synthesizer_.render(left, right);
        silent = silent &&
                 std::all_of(left.begin(), left.end(),
                             [](float sample) { return std::fabs(sample) < kSilence; }) &&
                 std::all_of(right.begin(), right.end(),
                             [](float sample) { return std::fabs(sample) < kSilence; });
        writeFailed_ = !writer_.write(left, right);
        framesRendered_ += static_cast<std::int64_t>(chunk);
        frames -= static_cast<std::int64_t>(chunk);
    }
    return silent;
}

std::int64_t RenderingOutput::frameAt(std::uint64_t us) const {
    const auto rate = static_cast<std::uint64_t>(synthesizer_.sampleRateHz());
    return static_cast<std::int64_t>((us * rate + 500'000) / 1'000'000);
}
