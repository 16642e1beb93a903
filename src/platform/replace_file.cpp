#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>

namespace {

// Once this much is written, the disk is set to writing it back while the rest is made, so
// that the sync at the end waits only for what came after.
constexpr off_t kWritebackBytes = off_t{1} << 20;

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The process's file-creation mask, which a new file's permissions honour. Reading it means
// setting it; only the window thread writes files, so nobody sees the moment in between.
mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

bool replaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> pieces[] = {bytes};
    return replaceFile(file, pieces);
}

bool replaceFile(const std::filesystem::path& file,
                 std::span<const std::span<const std::uint8_t>> pieces) {
    return replaceFile(file, [pieces](const ByteSink& sink) {
        for (const std::span<const std::uint8_t> bytes : pieces) {
            if (!sink(bytes)) {
                return false;
            }
        }
        return true;
    });
}

bool replaceFile(const std::filesystem::path& file,
                 const std::function<bool(const ByteSink&)>& write) {
    std::error_code error;
    std::filesystem::path target = file;
    if (std::filesystem::is_symlink(target, error)) {
        target = std::filesystem::weakly_canonical(target, error);
        if (error) {
            return false;
        }
    }
    mode_t mode = 0666 & ~currentUmask();
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            return false;
        }
        mode = existing.st_mode & 07777;
    }

    std::string temporary = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    bool stored = false;
    try {
        bool sinkFailed = false;
        off_t written = 0;
        off_t writebackFrom = 0;
        stored = write([&](std::span<const std::uint8_t> bytes) {
            sinkFailed = sinkFailed || !writeAll(fd, bytes);
            written += static_cast<off_t>(bytes.size());
            if (!sinkFailed && written - writebackFrom >= kWritebackBytes) {
                // Only a head start: a file system that cannot do it still gets the fsync.
                ::sync_file_range(fd, writebackFrom, written - writebackFrom,
                                  SYNC_FILE_RANGE_WRITE);
                writebackFrom = written;
            }
            return !sinkFailed;
        });
        // A writer that carries on past a failed write still must not have its file kept.
        stored = stored && !sinkFailed;
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    stored = stored && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!stored || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
