#include "host/PlayCommand.h"

#include <iostream>

#include "host/ApplicationFolder.h"
#include "host/ExitCode.h"
#include "host/HostConfiguration.h"
#include "host/HostProgram.h"
#include "host/PlayConfiguration.h"
#include "host/PlayOptions.h"
#include "host/SceneFiles.h"
#include "host/SoundDefinitions.h"
#include "platform/CurrentDirectory.h"
#include "platform/DebugOutput.h"
#include "platform/ExecutablePath.h"
#include "platform/FolderLock.h"
#include "platform/ProcessEnvironment.h"
#include "platform/VirtualDisplay.h"

namespace corvane {

namespace {

const char* const ORIGIN = "corvane play";

void report(const std::string& text) {
    DebugOutput::line(std::string(ORIGIN) + ": " + text);
}

} // namespace

int PlayCommand::run(const std::vector<std::string>& arguments) {
    PlayOptions options;
    std::string error;
    if (!options.parse(arguments, error)) {
        report(error);
        std::cerr << PlayOptions::usage();
        return EXIT_CODE_USAGE;
    }
    if (options.help) {
        std::cout << PlayOptions::usage();
        return EXIT_CODE_OK;
    }
    PlayConfiguration play;
    if (const int status = check(options, play); status != EXIT_CODE_OK)
        return status;
    return runConfiguration(ORIGIN, "playing", play.text(), options.frames);
}

int PlayCommand::runConfiguration(const std::string& origin, const char* doing,
                                  const std::string& text, const PluginHost::FrameOptions& frames) {
    auto report = [&origin](const std::string& line) { DebugOutput::line(origin + ": " + line); };
    const std::string runtime = ApplicationFolder::findRuntime(ExecutablePath::folder());
    if (runtime.empty()) {
        report("the runtime folder is neither in ../runtime nor in ../share/corvane/runtime "
               "beside the host");
        return EXIT_CODE_PLUGIN_LOAD;
    }
    const std::string cache = ProcessEnvironment::cacheFolder();
    if (cache.empty()) {
        report("neither XDG_CACHE_HOME nor HOME is set: there is no cache folder to run in");
        return EXIT_CODE_PLUGIN_LOAD;
    }
    std::string error;
    FolderLock lock;
    const std::string folder = ApplicationFolder::claim(cache + "/corvane/play", lock, error);
    if (folder.empty() || !ApplicationFolder::layOut(runtime, folder, error)) {
        report("cannot lay out the application folder: " + error);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    HostConfiguration configuration;
    if (!configuration.parse(text, origin, error)) {
        report(error);
        return EXIT_CODE_CONFIGURATION;
    }
    // Made last, when nothing else can keep the run from starting; ended after the plug-ins.
    VirtualDisplay display;
    if (ProcessEnvironment::get("DISPLAY").empty())
        if (const int status = provideDisplay(origin, doing, display); status != EXIT_CODE_OK)
            return status;
    if (!CurrentDirectory::set(folder)) {
        report("cannot run in " + folder);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    return HostProgram::runPlugins(configuration, {}, frames);
}

bool PlayCommand::readFiles(const std::string& origin, const std::string& scene,
                            const std::string& keyframes,
                            const std::vector<std::string>& mediaFolders, const std::string& sounds,
                            PlayConfiguration& configuration) {
    auto report = [&origin](const std::string& line) { DebugOutput::line(origin + ": " + line); };
    const SceneFiles files = SceneFiles::resolve(scene, keyframes, mediaFolders);
    for (const SceneFiles::Problem& problem : files.problems)
        report(problem.line());
    bool usable = files.problems.empty();
    configuration.scene = files.scene;
    configuration.folders = files.folders;
    configuration.script = files.script;
    if (!sounds.empty()) {
        std::vector<std::string> skipped;
        std::string error;
        if (!SoundDefinitions::read(SceneFiles::absolute(sounds), configuration.sounds, skipped,
                                    error)) {
            report(error);
            usable = false;
        }
        for (const std::string& line : skipped)
            report(line);
    }
    return usable;
}

int PlayCommand::check(const PlayOptions& options, PlayConfiguration& configuration) {
    const bool usable = readFiles(ORIGIN, options.scene, options.keyframes, options.mediaFolders,
                                  options.sounds, configuration);
    if (!options.captureFolder.empty()) {
        configuration.captureFolder = SceneFiles::absolute(options.captureFolder);
        configuration.captureEvery = options.captureEvery;
    }
    return usable ? EXIT_CODE_OK : EXIT_CODE_CONFIGURATION;
}

int PlayCommand::provideDisplay(const std::string& origin, const char* doing,
                                VirtualDisplay& display) {
    auto report = [&origin](const std::string& line) { DebugOutput::line(origin + ": " + line); };
    if (VirtualDisplay::program().empty()) {
        report("there is no display, and no Xvfb to make one: install the Debian package xvfb "
               "(apt-get install xvfb)");
        return EXIT_CODE_PLUGIN_START;
    }
    std::string error;
    if (!display.start("1024x768x24", error)) {
        report("there is no display, and the virtual X server did not start: " + error);
        return EXIT_CODE_PLUGIN_START;
    }
    report("there is no display: " + std::string(doing) + " under a virtual X server (Xvfb, " +
           "display " + display.name() + ")");
    return EXIT_CODE_OK;
}

} // namespace corvane
