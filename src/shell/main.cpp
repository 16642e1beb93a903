#include <cstring>
#include <iostream>

#include "shell/version.h"

namespace {

void printHelp() {
    std::cout << "Usage: tolvar32 [OPTION]\n"
                 "A MIDI sequencer and staff-notation editor.\n"
                 "\n"
                 "  --help     show this help and exit\n"
                 "  --version  show the version and exit\n";
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        printHelp();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tolvar 32 " << kProgramVersion << '\n';
        return 0;
    }
    std::cerr << "tolvar32: this build has no window yet; try --help\n";
    return 2;
}
