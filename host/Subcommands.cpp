#include "host/Subcommands.h"

#include "host/ExitCode.h"
#include "host/PlayCommand.h"
#include "host/PluginLocator.h"
#include "host/RenderCommand.h"
#include "platform/DebugOutput.h"
#include "platform/ExecutablePath.h"
#include "platform/ProcessImage.h"

namespace corvane {

namespace {

// Runs the tool `program` with `arguments`; returns only when it cannot be run.
int runTool(const std::string& program, const std::vector<std::string>& arguments) {
    const PluginLocator locator({}, ExecutablePath::folder());
    const std::string path = locator.locateProgram(program);
    if (path.empty()) {
        DebugOutput::line("corvane: " + program +
                          " is neither beside the host nor in ../lib/corvane");
        return EXIT_CODE_PLUGIN_LOAD;
    }
    const std::string reason = ProcessImage::replace(path, arguments);
    DebugOutput::line("corvane: cannot run " + path + ": " + reason);
    return EXIT_CODE_PLUGIN_LOAD;
}

int lint(const std::vector<std::string>& arguments) {
    return runTool("corvane-lint", arguments);
}

int join(const std::vector<std::string>& arguments) {
    return runTool("corvane-join", arguments);
}

struct Subcommand {
    const char* name;
    const char* usage;
    int (*run)(const std::vector<std::string>& arguments);
};

const Subcommand SUBCOMMANDS[] = {
    {"play",
     "corvane play SCENE [KEYFRAMES] [--media DIR]... [--capture DIR [--every N]] [--frames N] "
     "[--fixed-step SECONDS] [--sounds FILE]\n"
     "    plays a scene of your own, without a configuration or folder layout",
     PlayCommand::run},
    {"render",
     "corvane render SCENE [KEYFRAMES] -o OUTPUT [--media DIR]... [--size WxH] [--fps N] "
     "[--range START:END] [--overlays none|status] [--quality Q] [--sounds FILE] "
     "[--frame-range A-B [--force]] [--chunks N --emit parallel|slurm|kubernetes]\n"
     "    renders a scene and its script to a video file with its sound, or to PNG files",
     RenderCommand::run},
    {"lint",
     "corvane lint SCENE [KEYFRAMES] [--media DIR]... [--sounds FILE | --config FILE] "
     "[--format text|json] [--strict]\n"
     "    checks a keyframe script against its scene without playing it",
     lint},
    {"join",
     "corvane join OUTPUT SEGMENT...\n"
     "    joins the video files of a film's frame ranges into one, without encoding again",
     join},
};

} // namespace

bool Subcommands::dispatch(const std::vector<std::string>& arguments, int& status) {
    if (arguments.empty())
        return false;
    for (const Subcommand& subcommand : SUBCOMMANDS)
        if (arguments.front() == subcommand.name) {
            status = subcommand.run({arguments.begin() + 1, arguments.end()});
            return true;
        }
    return false;
}

std::string Subcommands::usage() {
    std::string text;
    for (const Subcommand& subcommand : SUBCOMMANDS)
        text += std::string(subcommand.usage) + "\n";
    return text;
}

} // namespace corvane
