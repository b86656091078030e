#include "tools/lint/LintProgram.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>

#include "host/HostConfiguration.h"
#include "host/SceneFiles.h"
#include "host/SceneScript.h"
#include "platform/DebugOutput.h"
#include "playback/KeyframeLoader.h"
#include "services/sound/SoundService.h"
#include "tools/lint/FindingReport.h"
#include "tools/lint/FindingSink.h"
#include "tools/lint/HeadlessScene.h"
#include "tools/lint/LintOptions.h"
#include "tools/lint/SceneInventory.h"
#include "tools/lint/ScriptChecker.h"

namespace corvane::lint {

namespace {

namespace fs = std::filesystem;
using Findings = std::vector<LintFinding>;
using Severity = LintFinding::Severity;

void note(const std::string& text) {
    DebugOutput::line("corvane lint: " + text);
}

void fileError(Findings& findings, const std::string& file, const std::string& message) {
    findings.push_back({file, 0, Severity::ERROR, {}, message});
}

// The names the configuration's Sound plug-in defines, read by the Sound service itself.
bool readSounds(const std::string& path, std::set<std::string>& names, Findings& findings) {
    HostConfiguration configuration;
    std::string error;
    if (!configuration.load(path, error)) {
        fileError(findings, path,
                  error.rfind(path + ": ", 0) == 0 ? error.substr(path.size() + 2) : error);
        return false;
    }
    bool sound = false;
    for (const HostConfiguration::Plugin& plugin : configuration.plugins()) {
        if (fs::path(plugin.library).stem() != "Sound")
            continue;
        sound = true;
        SoundService service;
        service.parseEnvironment(plugin.environment);
        for (const std::string& name : service.soundNames())
            names.insert(name);
    }
    if (!sound)
        note(path + " loads no Sound plug-in: no sound is defined");
    return true;
}

// The scene's folder and the media folders with their subfolders, then the scene; what the
// scripts and the scene loader find wrong become the scene's findings. What cannot be read
// at all is found as play and render find it (SceneFiles).
bool readScene(const LintOptions& options, const SceneFiles& files, HeadlessScene& scene,
               Findings& findings) {
    bool usable = true;
    for (const SceneFiles::Problem& problem : files.problems) {
        if (problem.path == files.script)
            continue; // the script's, with the script
        fileError(findings, problem.given, "cannot be read: " + problem.reason);
        if (problem.path == files.scene)
            return false;
        usable = false;
    }
    for (const std::string& folder : files.folders) {
        std::string error;
        if (!scene.addFolder(folder, error)) {
            fileError(findings, folder, "cannot be read: " + error);
            usable = false;
        }
    }
    FindingSink sink;
    const std::string name = fs::path(files.scene).filename().string();
    const bool loaded = scene.load(name, sink);
    for (LintFinding& finding : sink.take(name, options.scene))
        findings.push_back(std::move(finding));
    return usable && loaded;
}

int status(const Findings& findings, bool unreadable, bool strict) {
    if (unreadable)
        return LintProgram::UNREADABLE;
    for (const LintFinding& finding : findings)
        if (finding.severity == Severity::ERROR || strict)
            return LintProgram::FOUND;
    return LintProgram::CLEAN;
}

} // namespace

int LintProgram::run(const std::vector<std::string>& arguments) {
    LintOptions options;
    std::string error;
    if (!options.parse(arguments, error)) {
        note(error);
        std::cerr << LintOptions::usage();
        return UNREADABLE;
    }
    if (options.help) {
        std::cout << LintOptions::usage();
        return CLEAN;
    }

    Findings findings;
    bool unreadable = false;
    std::set<std::string> sounds;
    const bool soundsChecked = !options.configuration.empty();
    if (!soundsChecked)
        note("no --config: sound names are not checked");
    else if (!readSounds(options.configuration, sounds, findings))
        unreadable = true;

    const SceneFiles files =
        SceneFiles::resolve(options.scene, options.keyframes, options.mediaFolders, false);
    HeadlessScene scene;
    const bool sceneRead = readScene(options, files, scene, findings);
    unreadable = unreadable || !sceneRead;

    const std::string& script = files.scriptAsGiven;
    const auto scriptProblem = std::find_if(
        files.problems.begin(), files.problems.end(), [&files](const SceneFiles::Problem& problem) {
            return !files.script.empty() && problem.path == files.script;
        });
    if (script.empty()) {
        note(std::string("there is no ") + SceneScript::SCRIPT_NAME + " beside " + options.scene +
             ": only the scene is checked");
    } else if (scriptProblem != files.problems.end()) {
        fileError(findings, script, "cannot be read: " + scriptProblem->reason);
        unreadable = true;
    } else {
        KeyframeMap keyframes;
        FindingSink problems;
        unreadable = !KeyframeLoader::load(script, keyframes, problems) || unreadable;
        Findings ofScript = problems.take(script, script);
        // Against a scene that could not be read, every name would look wrong.
        if (sceneRead) {
            const SceneInventory inventory = SceneInventory::of(scene.sceneManager());
            const Findings checked = ScriptChecker(inventory, soundsChecked ? &sounds : nullptr)
                                         .check(keyframes, script);
            ofScript.insert(ofScript.end(), checked.begin(), checked.end());
        }
        std::stable_sort(
            ofScript.begin(), ofScript.end(),
            [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
        findings.insert(findings.end(), ofScript.begin(), ofScript.end());
    }

    if (options.json)
        FindingReport::writeJson(std::cout, findings);
    else
        FindingReport::writeText(std::cout, findings);
    return status(findings, unreadable, options.strict);
}

} // namespace corvane::lint
