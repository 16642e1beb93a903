#include "playback/audio_file_writer.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

int sndFormatOf(AudioFileWriter::Format format) {
    switch (format) {
        case AudioFileWriter::Format::Wav:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case AudioFileWriter::Format::Flac:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        default:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    }
}

// The permissions the finished file takes: those of the file it replaces, else what a new
// file gets under the process's creation mask.
mode_t permissionsFor(const std::filesystem::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::optional<AudioFileWriter::Format> AudioFileWriter::formatOf(
    const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".wav") {
        return Format::Wav;
    }
    if (extension == ".flac") {
        return Format::Flac;
    }
    if (extension == ".ogg") {
        return Format::OggVorbis;
    }
    return std::nullopt;
}

AudioFileWriter::~AudioFileWriter() {
    discard();
}

bool AudioFileWriter::open(const std::filesystem::path& target, Format format, int sampleRateHz) {
    discard();
    std::error_code error;
    target_ = std::filesystem::is_symlink(target, error)
                  ? std::filesystem::weakly_canonical(target, error)
                  : target;
    if (std::filesystem::exists(target_, error) &&
        !std::filesystem::is_regular_file(target_, error)) {
        return fail("not a file");
    }
    temporary_ = target_.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary_.data());
    if (fd < 0) {
        temporary_.clear();
        return fail(std::strerror(errno));
    }
    if (::fchmod(fd, permissionsFor(target_)) != 0) {
        ::close(fd);
        return fail(std::strerror(errno));
    }
    SF_INFO info{};
    info.samplerate = sampleRateHz;
    info.channels = 2;
    info.format = sndFormatOf(format);
    // The file takes over the descriptor, and closes it when the opening fails too.
    file_.reset(sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE));
    if (!file_) {
        return fail(sf_strerror(nullptr));
    }
    framesWritten_ = 0;
    return true;
}

bool AudioFileWriter::write(std::span<const float> left, std::span<const float> right) {
    const std::size_t frames = std::min(left.size(), right.size());
    if (normalizePeak_) {
        if (!file_) {
            return fail("not open");
        }
        for (std::size_t i = 0; i < frames; ++i) {
            held_.push_back(left[i]);
            held_.push_back(right[i]);
        }
        framesWritten_ += static_cast<std::int64_t>(frames);
        return true;
    }
    interleaved_.resize(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        interleaved_[2 * i] = left[i] * gain_;
        interleaved_[2 * i + 1] = right[i] * gain_;
    }
    if (!writeInterleaved(interleaved_)) {
        return false;
    }
    framesWritten_ += static_cast<std::int64_t>(frames);
    return true;
}

bool AudioFileWriter::writeInterleaved(std::vector<float>& samples) {
    // Out-of-range samples clip rather than wrap round to the opposite sign. (libsndfile's
    // own clipping also rounds towards minus infinity, which turns silence into -1.)
    for (float& sample : samples) {
        sample = std::clamp(sample, -1.0F, 1.0F);
    }
    const auto count = static_cast<sf_count_t>(samples.size() / 2);
    if (!file_ || sf_writef_float(file_.get(), samples.data(), count) != count) {
        return fail(!file_ ? "not open" : sf_strerror(file_.get()));
    }
    return true;
}

namespace {

// Half of a 16-bit sample's step.
constexpr float kSilence = 1.0F / 65536;

}  // namespace

bool AudioFileWriter::writeNormalized() {
    float loudest = 0.0F;
    for (const float sample : held_) {
        loudest = std::max(loudest, std::abs(sample));
    }
    // Silence has no level to raise: what a 16-bit file would not even hold is the
    // synthesizer's rounding, and raised it would be noise.
    const float factor = loudest >= kSilence ? static_cast<float>(*normalizePeak_) / loudest : 1.0F;
    for (float& sample : held_) {
        sample *= factor;
    }
    const bool written = writeInterleaved(held_);
    held_ = {};
    return written;
}

bool AudioFileWriter::commit() {
    if (!file_) {
        return fail("not open");
    }
    if (normalizePeak_ && !writeNormalized()) {
        return false;
    }
    sf_write_sync(file_.get());
    const int closed = sf_close(file_.release());
    if (closed != 0) {
        return fail(sf_error_number(closed));
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return fail(std::strerror(errno));
    }
    temporary_.clear();
    return true;
}

void AudioFileWriter::discard() {
    file_.reset();
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AudioFileWriter::Closer::operator()(sf_private_tag* file) const {
    sf_close(file);
}

bool AudioFileWriter::fail(std::string reason) {
    error_ = std::move(reason);
    discard();
    return false;
}
