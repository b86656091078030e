#pragma once

#include <string>

#include "host/PlayConfiguration.h"

namespace corvane {

class PluginHost;

// The demo's scene and `script` made into `film` by the host and the plug-in modules of the
// build, in the benchmark's own process: the plug-ins of the film's configuration loaded
// into `host` and started, the frame capture among them unless `capture` is false (the
// frames alone). The current folder must be an application folder. False when a plug-in
// does not load or start.
bool startDemoFilm(PluginHost& host, const std::string& script, const PlayConfiguration::Film& film,
                   bool capture = true);

} // namespace corvane
