// Writes the large benchmark song to a file, to try the program on it:
//   make_large_song big.mid && /usr/bin/time -v tolvar32 --summary big.mid
// A count of notes makes a smaller one (kTenMinuteSongNotes: about ten minutes).
#include <fstream>
#include <iostream>
#include <string>

#include "large_song.h"

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::cerr << "Usage: make_large_song OUT.mid [NOTES]\n";
        return 2;
    }
    const std::vector<std::uint8_t> bytes =
        makeLargeSong(argc == 3 ? std::stoi(argv[2]) : 1'000'000);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
