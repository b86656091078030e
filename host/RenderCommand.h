#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// `corvane render`: a scene and its script made into a film with its sound, off-screen, at
// the asked size and rate, with the plug-ins `corvane play` runs and the frame capture. The
// scene, media and script are found as play finds them (SceneFiles); the film's frames are
// those of script time N / fps from the range's start to its end (by default the script's
// length, or DEFAULT_SECONDS without keyframes).
class RenderCommand {
public:
    // Runs with the arguments after "render"; returns the host's exit status.
    static int run(const std::vector<std::string>& arguments);

    // The film's frames from `start` up to `end` seconds of script time: those whose time
    // N / fps is at least `start` and below `end`. Times given in decimals that land on a
    // frame (2.1 at 30 fps is frame 63) count as landing on it.
    static void framesOf(double start, double end, std::uint32_t framesPerSecond,
                         std::uint64_t& first, std::uint64_t& past);

    // The length of a film of a script without keyframes.
    static constexpr double DEFAULT_SECONDS = 10.0;
};

} // namespace corvane
