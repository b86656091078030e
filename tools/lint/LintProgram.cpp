#include "tools/lint/LintProgram.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "host/HostConfiguration.h"
#include "host/SceneFiles.h"
#include "host/SceneScript.h"
#include "host/SoundDefinitions.h"
#include "platform/DebugOutput.h"
#include "playback/KeyframeLoader.h"
#include "services/sound/SoundService.h"
#include "tools/lint/FindingReport.h"
#include "tools/lint/FindingSink.h"
#include "tools/lint/HeadlessScene.h"
#include "tools/lint/LintOptions.h"
#include "tools/lint/SceneInventory.h"
#include "tools/lint/ScriptChecker.h"
#include "tools/lint/ScriptSounds.h"

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

// `error` about `path` without the path at its start, as a finding at that file has it.
std::string aboutFile(const std::string& error, const std::string& path) {
    if (error.rfind(path + ": ", 0) == 0)
        return error.substr(path.size() + 2);
    if (error.rfind(path + " ", 0) == 0)
        return error.substr(path.size() + 1);
    return error;
}

// The sounds of a run of the host configuration at `path`: what its Sound plug-in's
// environment defines, read by the Sound service itself, and the files in its folders.
bool readConfiguredSounds(const std::string& path, ScriptSounds& sounds, Findings& findings) {
    HostConfiguration configuration;
    std::string error;
    if (!configuration.load(path, error)) {
        fileError(findings, path, aboutFile(error, path));
        return false;
    }
    const std::vector<const TiXmlElement*> environments =
        SoundDefinitions::environments(configuration);
    if (environments.empty())
        note(path + " loads no Sound plug-in: no sound is defined");
    for (const TiXmlElement* environment : environments) {
        SoundService service;
        service.parseEnvironment(environment);
        for (const std::string& name : service.soundNames())
            sounds.define(name);
        for (const std::string& folder : service.soundFolders())
            sounds.addFolder(folder);
    }
    return true;
}

// The sounds of a run of `corvane play` or `render`: those of --sounds FILE, read as play
// reads them, then the files in the scene's and media folders.
bool readPlayedSounds(const LintOptions& options, const SceneFiles& files, ScriptSounds& sounds,
                      Findings& findings) {
    for (const std::string& folder : files.folders)
        sounds.addFolder(folder);
    if (options.sounds.empty())
        return true;
    const std::string path = SceneFiles::absolute(options.sounds);
    std::vector<std::pair<std::string, std::string>> defined;
    std::vector<std::string> skipped;
    std::string error;
    const bool read = SoundDefinitions::read(path, defined, skipped, error);
    for (const std::string& line : skipped)
        note(line);
    if (!read) {
        fileError(findings, options.sounds, aboutFile(error, path));
        return false;
    }
    for (const auto& [name, file] : defined)
        sounds.define(name);
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
    const SceneFiles files =
        SceneFiles::resolve(options.scene, options.keyframes, options.mediaFolders, false);
    const bool configured = !options.configuration.empty();
    ScriptSounds sounds(configured ? "the Sound plug-in of the configuration" : options.sounds,
                        configured ? "its folders" : "the scene's and media folders");
    bool unreadable = configured ? !readConfiguredSounds(options.configuration, sounds, findings)
                                 : !readPlayedSounds(options, files, sounds, findings);

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
            const Findings checked = ScriptChecker(inventory, sounds).check(keyframes, script);
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
