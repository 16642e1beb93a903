#include <iostream>

#include "shell/command_line_tools.h"

int main(int argc, char* argv[]) {
    if (const auto status =
            runCommandLineTool({argv, static_cast<std::size_t>(argc)}, std::cout, std::cerr)) {
        return *status;
    }
    std::cerr << "tolvar32: this build has no window yet; try --help\n";
    return 2;
}
