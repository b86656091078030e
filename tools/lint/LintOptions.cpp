#include "tools/lint/LintOptions.h"

namespace corvane::lint {

bool LintOptions::parse(const std::vector<std::string>& arguments, std::string& error) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
            continue;
        }
        if (argument == "--strict") {
            strict = true;
            continue;
        }
        if (argument.rfind("--", 0) != 0) {
            files.push_back(argument);
            continue;
        }
        if (argument != "--media" && argument != "--config" && argument != "--format") {
            error = "unknown option \"" + argument + "\"";
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = argument + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (argument == "--media") {
            mediaFolders.push_back(value);
        } else if (argument == "--config") {
            configuration = value;
        } else if (value == "text" || value == "json") {
            json = value == "json";
        } else {
            error = "--format is text or json, not \"" + value + "\"";
            return false;
        }
    }
    if (help)
        return true;
    if (files.empty() || files.size() > 2) {
        error = files.empty() ? "a scene file is needed" : "one scene and one script at most";
        return false;
    }
    scene = files[0];
    if (files.size() == 2)
        keyframes = files[1];
    return true;
}

std::string LintOptions::usage() {
    return "Usage: corvane lint SCENE [KEYFRAMES] [--media DIR]... [--config FILE]\n"
           "                    [--format text|json] [--strict]\n"
           "\n"
           "Loads the scene as the viewer does, without a window, reads the keyframe script as\n"
           "playback does (default: keyframes.xml in the current folder), and reports every\n"
           "part of the script that would do nothing or something unintended when played.\n"
           "\n"
           "  --media DIR      another folder of meshes, skeletons and scripts, with its\n"
           "                   subfolders (the scene's own folder always counts)\n"
           "  --config FILE    the host configuration: sound names come from its Sound\n"
           "                   plug-in (without it, sound names are not checked)\n"
           "  --format FORMAT  text (default), or json for editors\n"
           "  --strict         warnings fail too\n"
           "\n"
           "Exit status: 0 no error (with --strict: no warning either), 1 errors found,\n"
           "2 a file cannot be read or the command line makes no sense.\n";
}

} // namespace corvane::lint
