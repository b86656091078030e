#include "host/PlayCommand.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <tinyxml.h>

#include "framework/XmlReader.h"
#include "host/ApplicationFolder.h"
#include "host/ExitCode.h"
#include "host/HostConfiguration.h"
#include "host/HostProgram.h"
#include "host/PlayConfiguration.h"
#include "host/PlayOptions.h"
#include "host/SceneScript.h"
#include "platform/CurrentDirectory.h"
#include "platform/DebugOutput.h"
#include "platform/ExecutablePath.h"
#include "platform/FileAccess.h"
#include "platform/FolderLock.h"
#include "platform/ProcessEnvironment.h"
#include "platform/VirtualDisplay.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

const char* const ORIGIN = "corvane play";

void report(const std::string& text) {
    DebugOutput::line(std::string(ORIGIN) + ": " + text);
}

std::string absolute(const std::string& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored).lexically_normal().string();
}

// The file's text, or one line saying why there is none, in the system's words.
bool readable(const std::string& path, std::string& text) {
    if (const std::string reason = FileAccess::whyNotReadable(path); !reason.empty()) {
        report(path + ": " + reason);
        return false;
    }
    if (!XmlReader::readFile(path, text)) {
        report(path + ": cannot be read");
        return false;
    }
    return true;
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
    FolderLock lock;
    const std::string folder = ApplicationFolder::claim(cache + "/corvane/play", lock, error);
    if (folder.empty() || !ApplicationFolder::layOut(runtime, folder, error)) {
        report("cannot lay out the application folder: " + error);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    HostConfiguration configuration;
    if (!configuration.parse(play.text(), ORIGIN, error)) {
        report(error);
        return EXIT_CODE_CONFIGURATION;
    }
    // Made last, when nothing else can keep the run from starting; ended after the plug-ins.
    VirtualDisplay display;
    if (ProcessEnvironment::get("DISPLAY").empty())
        if (const int status = provideDisplay(display); status != EXIT_CODE_OK)
            return status;
    if (!CurrentDirectory::set(folder)) {
        report("cannot run in " + folder);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    return HostProgram::runPlugins(configuration, {}, options.frames);
}

int PlayCommand::check(const PlayOptions& options, PlayConfiguration& configuration) {
    bool usable = true;
    configuration.scene = absolute(options.scene);
    if (std::string text; readable(configuration.scene, text)) {
        TiXmlDocument document;
        const std::string problem = XmlReader::describe(XmlReader::parse(text, document),
                                                        configuration.scene, text, document);
        if (!problem.empty()) {
            report(problem);
            usable = false;
        }
    } else {
        usable = false;
    }
    // Meshes and textures are looked for by listing the folders: a folder that cannot be
    // listed would play a scene without them.
    configuration.folders = {fs::path(configuration.scene).parent_path().string()};
    if (const std::string reason = FileAccess::whyNotListable(configuration.folders.front());
        usable && !reason.empty()) {
        report(configuration.folders.front() + ": the scene's folder cannot be listed: " + reason);
        usable = false;
    }
    for (const std::string& media : options.mediaFolders) {
        const std::string folder = absolute(media);
        if (const std::string reason = FileAccess::whyNotListable(folder); !reason.empty()) {
            report(folder + ": " + reason);
            usable = false;
        }
        configuration.folders.push_back(folder);
    }
    configuration.script = SceneScript::choose(configuration.scene, options.keyframes);
    if (!configuration.script.empty()) {
        configuration.script = absolute(configuration.script);
        if (std::string text; !readable(configuration.script, text))
            usable = false;
    }
    if (!options.captureFolder.empty()) {
        configuration.captureFolder = absolute(options.captureFolder);
        configuration.captureEvery = options.captureEvery;
    }
    return usable ? EXIT_CODE_OK : EXIT_CODE_CONFIGURATION;
}

int PlayCommand::provideDisplay(VirtualDisplay& display) {
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
    report("there is no display: playing under a virtual X server (Xvfb, display " +
           display.name() + ")");
    return EXIT_CODE_OK;
}

} // namespace corvane
