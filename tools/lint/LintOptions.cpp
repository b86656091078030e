#include "tools/lint/LintOptions.h"

#include "host/SceneArguments.h"

namespace corvane::lint {

bool LintOptions::parse(const std::vector<std::string>& arguments, std::string& error) {
    SceneArguments read({"--strict"}, {"--media", "--config", "--sounds", "--format"});
    if (!read.read(arguments, error))
        return false;
    help = read.has("--help");
    strict = read.has("--strict");
    for (const auto& [option, value] : read.values()) {
        if (option == "--media") {
            mediaFolders.push_back(value);
        } else if (option == "--config") {
            configuration = value;
        } else if (option == "--sounds") {
            sounds = value;
        } else if (value == "text" || value == "json") {
            json = value == "json";
        } else {
            error = "--format is text or json, not \"" + value + "\"";
            return false;
        }
    }
    if (!configuration.empty() && !sounds.empty()) {
        error = "--config and --sounds both say where the sounds come from: give one";
        return false;
    }
    return help || read.sceneAndScript(scene, keyframes, error);
}

std::string LintOptions::usage() {
    return "Usage: corvane lint SCENE [KEYFRAMES] [--media DIR]... [--sounds FILE | --config "
           "FILE]\n"
           "                    [--format text|json] [--strict]\n"
           "\n"
           "Loads the scene as the viewer does, without a window, reads the keyframe script as\n"
           "playback does (default: keyframes.xml beside the scene, when there is one), and\n"
           "reports every part of the script that would do nothing or something unintended\n"
           "when played.\n"
           "\n"
           "  --media DIR      another folder of meshes, skeletons, scripts and sounds, with\n"
           "                   its subfolders (the scene's own folder always counts)\n"
           "  --sounds FILE    the sounds of the Sound plug-in of a host configuration, as\n"
           "                   for corvane play; other sound names are files NAME.wav, .ogg\n"
           "                   or .flac in the scene's and media folders, as play finds them\n"
           "  --config FILE    check for a run of this host configuration instead: sound\n"
           "                   names come from its Sound plug-in alone\n"
           "  --format FORMAT  text (default), or json for editors\n"
           "  --strict         warnings fail too\n"
           "\n"
           "Exit status: 0 no error (with --strict: no warning either), 1 errors found,\n"
           "2 a file cannot be read or the command line makes no sense, 3 corvane-lint cannot\n"
           "be found or run, 128 + N stopped by signal N.\n";
}

} // namespace corvane::lint
