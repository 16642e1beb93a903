#pragma once

#include <filesystem>
#include <string>

// A directory of its own for one test, removed with everything in it when the test ends.
// Tests run in parallel processes, so the name carries the test's name and the process id.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // How many entries the directory holds: a failed write must leave no temporary file.
    int entryCount() const;

    static std::string read(const std::filesystem::path& file);
    static void write(const std::filesystem::path& file, const std::string& bytes);

private:
    std::filesystem::path path_;
};
