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
#include "host/SoundDefinitions.h"
#include "platform/CurrentDirectory.h"
#include "platform/DebugOutput.h"
#include "platform/ExecutablePath.h"
#include "platform/ProcessEnvironment.h"
#include "platform/ProcessImage.h"

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

// The file's text, or one line saying why there is none.
bool readable(const std::string& path, std::string& text) {
    std::error_code ignored;
    if (!fs::is_regular_file(path, ignored)) {
        report(path + ": there is no such file");
        return false;
    }
    if (!XmlReader::readFile(path, text)) {
        report(path + ": cannot be read");
        return false;
    }
    return true;
}

} // namespace

const char* const PlayCommand::UNDER_VIRTUAL_DISPLAY = "CORVANE_PLAY_UNDER_VIRTUAL_DISPLAY";

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
    if (ProcessEnvironment::get("DISPLAY").empty())
        return needDisplay(ORIGIN, "play", arguments);
    return runConfiguration(ORIGIN, play.text(), options.frames);
}

int PlayCommand::runConfiguration(const std::string& origin, const std::string& text,
                                  const PluginHost::FrameOptions& frames) {
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
    const std::string folder = cache + "/corvane/play";
    std::string error;
    if (!ApplicationFolder::layOut(runtime, folder, error)) {
        report("cannot lay out the application folder: " + error);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    HostConfiguration configuration;
    if (!configuration.parse(text, origin, error)) {
        report(error);
        return EXIT_CODE_CONFIGURATION;
    }
    if (!CurrentDirectory::set(folder)) {
        report("cannot run in " + folder);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    return HostProgram::runPlugins(configuration, {}, frames);
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
    configuration.folders = {fs::path(configuration.scene).parent_path().string()};
    for (const std::string& media : options.mediaFolders) {
        const std::string folder = absolute(media);
        std::error_code ignored;
        if (!fs::is_directory(folder, ignored)) {
            report(folder + ": there is no such folder");
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
    if (!options.sounds.empty()) {
        std::vector<std::string> skipped;
        std::string error;
        if (!SoundDefinitions::read(absolute(options.sounds), configuration.sounds, skipped,
                                    error)) {
            report(error);
            usable = false;
        }
        for (const std::string& line : skipped)
            report(line);
    }
    if (!options.captureFolder.empty()) {
        configuration.captureFolder = absolute(options.captureFolder);
        configuration.captureEvery = options.captureEvery;
    }
    return usable ? EXIT_CODE_OK : EXIT_CODE_CONFIGURATION;
}

int PlayCommand::needDisplay(const std::string& origin, const std::string& subcommand,
                             const std::vector<std::string>& arguments) {
    auto report = [&origin](const std::string& line) { DebugOutput::line(origin + ": " + line); };
    if (!ProcessEnvironment::get(UNDER_VIRTUAL_DISPLAY).empty()) {
        report("xvfb-run made no display");
        return EXIT_CODE_PLUGIN_START;
    }
    const std::string xvfb = ProcessImage::find("xvfb-run");
    if (xvfb.empty()) {
        report("there is no display, and no xvfb-run to make one: install the Debian package "
               "xvfb (apt-get install xvfb xauth)");
        return EXIT_CODE_PLUGIN_START;
    }
    std::vector<std::string> command{"-a", "-s", "-screen 0 1024x768x24 -noreset",
                                     ExecutablePath::file(), subcommand};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ProcessEnvironment::set(UNDER_VIRTUAL_DISPLAY, "1");
    report("there is no display: " + std::string(subcommand == "play" ? "playing" : "rendering") +
           " under a virtual X server (xvfb-run)");
    const std::string reason = ProcessImage::replace(xvfb, command);
    report("cannot run " + xvfb + ": " + reason);
    return EXIT_CODE_PLUGIN_START;
}

} // namespace corvane
