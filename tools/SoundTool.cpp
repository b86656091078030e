// corvane_sound_tool FOLDER: writes the demo's synthesised sounds into FOLDER.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/SoundGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        corvane::tools::SoundGenerator(argv[1]).writeAll();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvane_sound_tool: %s\n", error.what());
        return 1;
    }
    return 0;
}
