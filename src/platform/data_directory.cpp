#include "platform/data_directory.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

// The build defines these for this file only: TOLVAR32_BUILD_DIR (the build tree),
// TOLVAR32_SOURCE_DATA_DIR (the source tree's resources/ folder), TOLVAR32_INSTALLED_DATA_DIR
// (the installed program's data folder) and TOLVAR32_DATA_DIR_FROM_BIN (that folder relative
// to the installed program's bin/ folder, as "../share/tolvar32").

namespace {

// Whole components are compared, so /a/build-old is not inside /a/build.
bool isInside(const fs::path& file, const fs::path& directory) {
    const auto [directoryRest, fileRest] =
        std::mismatch(directory.begin(), directory.end(), file.begin(), file.end());
    return directoryRest == directory.end() && fileRest != file.end();
}

}  // namespace

fs::path dataDirectory() {
    std::error_code error;
    // The link names the executable with every symbolic link resolved, so the build tree is
    // resolved too before the two are compared.
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return TOLVAR32_INSTALLED_DATA_DIR;
    }
    const fs::path buildTree = fs::weakly_canonical(TOLVAR32_BUILD_DIR, error);
    if (!error && isInside(executable, buildTree)) {
        return TOLVAR32_SOURCE_DATA_DIR;
    }
    const fs::path besideProgram =
        (executable.parent_path() / TOLVAR32_DATA_DIR_FROM_BIN).lexically_normal();
    if (fs::is_directory(besideProgram, error)) {
        return besideProgram;
    }
    return TOLVAR32_INSTALLED_DATA_DIR;
}
