#pragma once

#include <sys/resource.h>

#include <csignal>

// While it lives, no file grows past a limit, so that a write fails part way as it would on a
// full disk. Root ignores a read-only directory; it does not ignore this.
class SmallDisk {
public:
    explicit SmallDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SmallDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};
