#include "bench/DemoFilm.h"

#include "host/ExitCode.h"
#include "host/HostConfiguration.h"
#include "host/PluginHost.h"
#include "host/PluginLocator.h"

namespace corvane {

bool startDemoFilm(PluginHost& host, const std::string& script, const PlayConfiguration::Film& film,
                   bool capture) {
    PlayConfiguration play;
    play.scene = CORVANE_DEMO_FOLDER "/scene/demo.scene";
    play.script = script;
    play.folders = {CORVANE_DEMO_FOLDER "/scene", CORVANE_DEMO_FOLDER "/media"};
    play.film = film;
    HostConfiguration configuration;
    std::string error;
    if (!configuration.parse(play.text(), "bench", error))
        return false;
    const PluginLocator locator({CORVANE_PLUGIN_FOLDER}, "");
    for (const HostConfiguration::Plugin& plugin : configuration.plugins())
        if ((capture || plugin.library != "FrameCapture") &&
            host.load(locator.locate(plugin.library, configuration.folder()), plugin.environment) !=
                EXIT_CODE_OK)
            return false;
    return host.startAll() == EXIT_CODE_OK;
}

} // namespace corvane
