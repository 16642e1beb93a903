#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct sf_private_tag;

// A stereo audio file being written: 16-bit PCM WAV, FLAC or Ogg Vorbis. The samples go to a
// temporary file beside the target, which commit() renames over it, so a write that fails or
// is given up leaves no partial file and an existing file as it was. Destroying the writer
// before commit() removes the temporary file.
class AudioFileWriter {
public:
    enum class Format { Wav, Flac, OggVorbis };

    // The format a file name asks for by its extension (".wav", ".flac", ".ogg", any case).
    static std::optional<Format> formatOf(const std::filesystem::path& file);

    AudioFileWriter() = default;
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Starts the temporary file for target (a link is followed). False when it cannot be
    // made; error() says why.
    bool open(const std::filesystem::path& target, Format format, int sampleRateHz);
    // Each sample is multiplied by factor (1 keeps the rendered level) before it is written.
    void setGain(float factor) { gain_ = factor; }
    // Holds every frame until commit(), which scales them all so that the loudest sample has
    // magnitude peak (0 to 1) and then writes them: a level set after the whole song is
    // rendered, so nothing clips. A silent file stays silent. The gain is then not used.
    // Holding takes 8 bytes a frame (about 21 MB a minute at 44.1 kHz).
    void normalizeTo(float peak) { normalizePeak_ = peak; }

    // Appends frames: left and right are as long, samples from -1 to 1 once scaled (beyond is
    // clipped).
    bool write(std::span<const float> left, std::span<const float> right);
    // Finishes the file, puts it on disk and renames it over the target.
    bool commit();

    std::int64_t framesWritten() const { return framesWritten_; }
    // The reason of the last failure, for a message.
    const std::string& error() const { return error_; }

private:
    void discard();
    // Clips samples to -1..1 and writes them, left and right by turns.
    bool writeInterleaved(std::vector<float>& samples);
    bool writeNormalized();
    bool fail(std::string reason);

    struct Closer {
        void operator()(sf_private_tag* file) const;
    };

    std::unique_ptr<sf_private_tag, Closer> file_;
    std::filesystem::path target_;
    std::string temporary_;
    std::vector<float> interleaved_;
    float gain_ = 1.0F;
    std::optional<float> normalizePeak_;
    std::vector<float> held_;
    std::int64_t framesWritten_ = 0;
    std::string error_;
};
