#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

// The fuzzers of file formats read and write real files, as the program does: each gets one
// scratch directory for the whole run, in memory where the system has it, removed at exit.
class ScratchFile {
public:
    // A file named name in the run's scratch directory, holding bytes.
    static std::filesystem::path write(const std::string& name,
                                       std::span<const std::uint8_t> bytes) {
        const std::filesystem::path file = directory() / name;
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    static const std::filesystem::path& directory() {
        static const ScratchFile scratch;
        return scratch.path_;
    }

private:
    ScratchFile() {
        // Saves sync the file to disk; in memory that costs nothing, and the fuzzer runs a
        // hundred times faster.
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string name = (base / "tolvar32-fuzz-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) {
            std::abort();
        }
        path_ = name;
    }
    ~ScratchFile() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }

    std::filesystem::path path_;
};
