#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// The host configuration that `corvane play` runs: the standard plug-ins over the user's
// own files, every path absolute, since the run's current folder is an application folder
// elsewhere.
struct PlayConfiguration {
    std::string scene;                // the scene file
    std::vector<std::string> folders; // searched with every folder below them
    std::string script;               // empty: nothing is scripted
    std::string captureFolder;        // empty: no frame capture
    std::uint64_t captureEvery = 1;

    // The configuration as the host reads it: the viewer with the folders, the scene by its
    // file name and the scene's camera at the start; the user interface; the playback with
    // the script, watched, starting to play at once; the sound; the frame capture.
    std::string text() const;
};

} // namespace corvane
