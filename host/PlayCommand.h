#pragma once

#include <string>
#include <vector>

#include "host/PluginHost.h"

namespace corvane {

struct PlayConfiguration;
struct PlayOptions;
class VirtualDisplay;

// `corvane play`: a scene of the user's own with the standard plug-ins, without a
// configuration file or application folder from the user. It checks the user's files
// (SceneFiles), lays out an application folder in the user's cache folder, builds the host
// configuration and runs the plug-ins there as any run of the host does. Without a display
// it starts a virtual X server of its own for the run.
class PlayCommand {
public:
    // Runs with the arguments after "play"; returns the host's exit status.
    static int run(const std::vector<std::string>& arguments);

    // What `play` and `render` do once they have their configuration: claim and lay out an
    // application folder in the user's cache folder, start a virtual X server when there is
    // no display, and run the plug-ins there. Lines begin with `origin`; `doing` ("playing",
    // "rendering") says what runs under the virtual server. Returns the exit status.
    static int runConfiguration(const std::string& origin, const char* doing,
                                const std::string& text, const PluginHost::FrameOptions& frames);

    // The user's scene, script and media folders (SceneFiles) and the sounds of a --sounds
    // configuration (SoundDefinitions, empty: none) into `configuration` as absolute paths,
    // as `play` and `render` take them; false after one line, beginning with `origin`, per
    // file that cannot be used.
    static bool readFiles(const std::string& origin, const std::string& scene,
                          const std::string& keyframes,
                          const std::vector<std::string>& mediaFolders, const std::string& sounds,
                          PlayConfiguration& configuration);

private:
    // The configuration over the user's files as absolute paths; EXIT_CODE_OK, or the
    // exit status after one line per file that cannot be used.
    static int check(const PlayOptions& options, PlayConfiguration& configuration);
    // Starts `display` for the run; EXIT_CODE_OK, or the exit status after one line.
    static int provideDisplay(const std::string& origin, const char* doing,
                              VirtualDisplay& display);
};

} // namespace corvane
