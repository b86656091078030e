#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/FarmJob.h"
#include "host/FrameRange.h"

namespace corvane {

// The command line of `corvane render`.
struct RenderOptions {
    enum class Outcome {
        OK,
        USAGE, // not a command line it understands: an unknown option, a value missing
        VALUE, // a value it cannot use: a size, rate, range, quality or output ending
    };

    std::string scene;                     // the scene file
    std::string keyframes;                 // the script; empty: keyframes.xml beside the scene
    std::vector<std::string> mediaFolders; // --media DIR
    std::string output;                    // -o, --output: the file, or the PNG folder
    std::string format;                    // from the output: "mp4", "webm", "mov", "png"
    std::string sounds;                    // --sounds FILE: a host configuration
    std::uint32_t width = 1280;            // --size WxH
    std::uint32_t height = 720;
    std::uint32_t framesPerSecond = 30; // --fps N
    std::optional<double> rangeStart;   // --range START:END, seconds
    std::optional<double> rangeEnd;
    bool statusOverlay = false;           // --overlays none|status
    int quality = 80;                     // --quality Q, 1 to 100
    std::optional<FrameRange> frameRange; // --frame-range A-B: frames of the whole film
    bool force = false;                   // --force: a range's frames written already anew
    std::uint64_t chunks = 0;             // --chunks N, with --emit
    std::optional<FarmJob::Engine> emit;  // --emit parallel|slurm|kubernetes
    bool help = false;

    // Reads the arguments after "render"; `error` says what is wrong unless OK.
    Outcome parse(const std::vector<std::string>& arguments, std::string& error);

    // The format an output is written as: a path ending in '/', an existing folder or a
    // name without an ending is a folder of PNG files; ".mp4", ".webm" and ".mov" (in any
    // case) are video files. False for any other ending.
    static bool formatOf(const std::string& output, std::string& format);

    static constexpr std::uint32_t LARGEST_SIDE = 16384;
    static constexpr std::uint64_t LARGEST_PICTURE = 0x7fffffff / 8 + 1;
    static constexpr std::uint32_t MOST_FRAMES_PER_SECOND = 240;

    static std::string usage();
};

} // namespace corvane
