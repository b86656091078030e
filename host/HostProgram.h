#pragma once

#include <string>
#include <vector>

#include "host/PluginHost.h"

namespace corvane {

class HostConfiguration;

// The host program as a whole: command line, configuration, plug-ins, frames.
class HostProgram {
public:
    // Runs the host with the arguments after the program name; returns the exit status.
    static int run(const std::vector<std::string>& arguments);
    // What every run does once it has its configuration, in the current folder: loads the
    // plug-ins (libraries named without a path are looked for in `pluginFolders` first),
    // starts them, runs the frames, stops and unloads them. Returns the exit status.
    static int runPlugins(const HostConfiguration& configuration,
                          const std::vector<std::string>& pluginFolders,
                          const PluginHost::FrameOptions& frames);
};

} // namespace corvane
