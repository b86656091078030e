#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// The host configuration that `corvane play` and `corvane render` run: the standard plug-ins
// over the user's own files, every path absolute, since the run's current folder is an
// application folder elsewhere.
struct PlayConfiguration {
    // A film made off-screen instead of a window to watch (`corvane render`).
    struct Film {
        std::string format; // "mp4", "webm", "mov", "png"
        std::string output; // the file, or the folder of PNG files
        std::uint32_t width = 1280;
        std::uint32_t height = 720;
        std::uint32_t framesPerSecond = 30;
        std::uint64_t first = 0; // the film's frames first to end - 1, of N / fps script time
        std::uint64_t end = 0;
        int quality = 80;
        bool statusOverlay = false; // the status line and time bar on the frames
        // A render farm's range: the playback starts with the frames before `first` replayed,
        // and what is written whole already is not made again unless `force`.
        bool range = false;
        bool force = false;
    };

    std::string scene;                // the scene file
    std::vector<std::string> folders; // searched with every folder below them
    std::string script;               // empty: nothing is scripted
    std::string captureFolder;        // empty: no frame capture
    std::uint64_t captureEvery = 1;
    // Sounds defined by name and file, besides the files of their names in `folders`.
    std::vector<std::pair<std::string, std::string>> sounds;
    std::optional<Film> film;

    // The configuration as the host reads it: the viewer with the folders, the scene by its
    // file name and the scene's camera at the start; the user interface; the playback with
    // the script, starting to play at once; the sound, finding sounds by name in the
    // folders; the frame capture. To watch, the script is watched for changes. For a film
    // the window stays hidden, the user interface is there only for the status overlay, the
    // playback's clock starts half a frame in (so that keyframes fall due on the nearest
    // frame), the sound is mixed offline and the capture makes the film.
    std::string text() const;
};

} // namespace corvane
