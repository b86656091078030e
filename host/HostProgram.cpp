#include "host/HostProgram.h"

#include <cstdlib>
#include <iostream>

#include "host/CommandLine.h"
#include "host/ExitCode.h"
#include "host/HostConfiguration.h"
#include "host/PluginLocator.h"
#include "host/Subcommands.h"
#include "platform/DebugOutput.h"
#include "platform/DisplayLoss.h"
#include "platform/ExecutablePath.h"
#include "platform/StopSignals.h"
#include "platform/VirtualDisplay.h"

#ifndef CORVANE_VERSION
#define CORVANE_VERSION "unknown"
#endif

namespace corvane {

namespace {

// Called by the X library in the call that found the display gone, usually inside a frame,
// which cannot go on: the plug-ins are stopped from there, as at any stop (the capture says
// what it wrote), and the process ends without destroying the engine under that frame. A
// stop signal that came first (Ctrl-C reaches a server in the run's process group too) is
// the reason the run ends.
[[noreturn]] void endOnDisplayLoss(const std::string& display) {
    const int signal = StopSignals::received();
    DebugOutput::line(signal != 0 ? "corvane: stopping on signal " + std::to_string(signal)
                                  : "corvane: the display " + display + " went away; stopping");
    if (PluginHost* host = PluginHost::active())
        host->stopAll();
    VirtualDisplay::stopRunning();
    std::_Exit(signal != 0 ? EXIT_CODE_SIGNAL_BASE + signal : EXIT_CODE_DISPLAY_LOST);
}

} // namespace

int HostProgram::run(const std::vector<std::string>& arguments) {
    if (int status = EXIT_CODE_OK; Subcommands::dispatch(arguments, status))
        return status;
    CommandLine commandLine;
    std::string error;
    if (!commandLine.parse(arguments, error)) {
        DebugOutput::line("corvane: " + error);
        std::cerr << CommandLine::usage() << "\nSubcommands:\n" << Subcommands::usage();
        return EXIT_CODE_USAGE;
    }
    if (commandLine.help) {
        std::cout << CommandLine::usage() << "\nSubcommands:\n" << Subcommands::usage();
        return EXIT_CODE_OK;
    }
    if (commandLine.version) {
        std::cout << "corvane " CORVANE_VERSION "\n";
        return EXIT_CODE_OK;
    }

    HostConfiguration configuration;
    if (!configuration.load(commandLine.configuration, error)) {
        DebugOutput::line("corvane: " + error);
        return EXIT_CODE_CONFIGURATION;
    }

    return runPlugins(configuration, commandLine.pluginFolders,
                      {commandLine.fixedStep, commandLine.frames});
}

int HostProgram::runPlugins(const HostConfiguration& configuration,
                            const std::vector<std::string>& pluginFolders,
                            const PluginHost::FrameOptions& frames) {
    const PluginLocator locator(pluginFolders, ExecutablePath::folder());
    StopSignals::install();
    DisplayLoss::handleWith(endOnDisplayLoss, EXIT_CODE_DISPLAY_LOST);
    PluginHost host;
    for (const HostConfiguration::Plugin& plugin : configuration.plugins())
        if (const int status = host.load(locator.locate(plugin.library, configuration.folder()),
                                         plugin.environment);
            status != EXIT_CODE_OK)
            return status;
    if (const int status = host.startAll(); status != EXIT_CODE_OK)
        return status;
    const int status = host.runFrames(frames);
    // A run that ended well still fails when a plug-in could not stop, or its output could
    // not be written (a file is written whole at the stop, too).
    const bool stopped = host.stopAll();
    const int outcome =
        host.withOutputs(status == EXIT_CODE_OK && !stopped ? EXIT_CODE_PLUGIN_EXCEPTION : status);
    host.unloadAll();
    return outcome;
}

} // namespace corvane
