#pragma once

#include <string>

namespace corvane {

// Which keyframe script goes with a scene, the same for every command that takes a scene
// and an optional script (`corvane play`, `corvane lint`): the one given, else the
// playback's default file name beside the scene, when there is such a file.
class SceneScript {
public:
    // `given` when it is not empty; else SCRIPT_NAME in the scene's folder when that is a
    // file; else empty: there is no script.
    static std::string choose(const std::string& scene, const std::string& given);

    // The name the playback reads when its environment names no script.
    static const char* const SCRIPT_NAME;
};

} // namespace corvane
