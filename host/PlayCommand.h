#pragma once

#include <string>
#include <vector>

#include "host/PluginHost.h"

namespace corvane {

struct PlayConfiguration;
struct PlayOptions;

// `corvane play`: a scene of the user's own with the standard plug-ins, without a
// configuration file or application folder from the user. It checks the user's files,
// lays out an application folder in the user's cache folder, builds the host configuration
// and runs the plug-ins there as any run of the host does. Without a display it runs
// itself again under a virtual X server.
class PlayCommand {
public:
    // Runs with the arguments after "play"; returns the host's exit status.
    static int run(const std::vector<std::string>& arguments);

    // Set in the environment of the run under the virtual X server, so that it does not
    // start one again.
    static const char* const UNDER_VIRTUAL_DISPLAY;

    // What `play` and `render` do once they have their configuration: lay out the
    // application folder in the user's cache folder and run the plug-ins there. Lines begin
    // with `origin`; returns the exit status.
    static int runConfiguration(const std::string& origin, const std::string& text,
                                const PluginHost::FrameOptions& frames);
    // Returns only when the run cannot go on here: without a display it runs the host's
    // `subcommand` with `arguments` again under xvfb-run. Lines begin with `origin`.
    static int needDisplay(const std::string& origin, const std::string& subcommand,
                           const std::vector<std::string>& arguments);

private:
    // The configuration over the user's files as absolute paths; EXIT_CODE_OK, or the
    // exit status after one line per file that cannot be used.
    static int check(const PlayOptions& options, PlayConfiguration& configuration);
};

} // namespace corvane
