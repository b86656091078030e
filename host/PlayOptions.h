#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/PluginHost.h"

namespace corvane {

// The command line of `corvane play`.
struct PlayOptions {
    std::string scene;                     // the scene file
    std::string keyframes;                 // the script; empty: keyframes.xml beside the scene
    std::vector<std::string> mediaFolders; // --media DIR: more folders searched with the scene's
    std::string captureFolder;             // --capture DIR: frames written there; empty: none
    std::uint64_t captureEvery = 1;        // --every N: every N-th frame
    std::string sounds;                    // --sounds FILE: a host configuration's sounds
    PluginHost::FrameOptions frames;       // --frames N, --fixed-step S, as the host takes them
    bool help = false;                     // --help

    // Reads the arguments after "play"; false and `error` set when they make no sense.
    bool parse(const std::vector<std::string>& arguments, std::string& error);

    static std::string usage();
};

} // namespace corvane
