#pragma once

#include <string>
#include <vector>

namespace corvane {

// Where a scene, its media and its script are, found the same way by every command that
// takes them (`corvane play`, `render` and `lint`): the paths made absolute (a run's current
// folder is an application folder elsewhere), the scene's own folder searched first, the
// script given or the one beside the scene (SceneScript), and what cannot be used said once
// each, in the system's words.
struct SceneFiles {
    struct Problem {
        std::string path;   // absolute
        std::string given;  // as the command line gave it, or as it was found beside the scene
        std::string reason; // "No such file or directory", "Permission denied", "the scene's
                            // folder cannot be listed: ...", or the parser's "ROW:COLUMN: ..."
        // "PATH: REASON", or "PATH:ROW:COLUMN: the parser's message", with the element that
        // it left open (XmlReader::describe).
        std::string line() const;
    };

    std::string scene;
    // The scene's folder, then each media folder: each is searched with every folder below.
    std::vector<std::string> folders;
    // Empty when there is no script.
    std::string script;
    // The script as given, or as found beside the scene, for messages about it.
    std::string scriptAsGiven;
    std::vector<Problem> problems;

    // `path` as the files are named here: absolute, without "." and ".." in it.
    static std::string absolute(const std::string& path);
    // With `parseScene` the scene must also parse as XML (a command that loads the scene with
    // a loader of its own, which says what is wrong in its own words, does without).
    static SceneFiles resolve(const std::string& scene, const std::string& script,
                              const std::vector<std::string>& mediaFolders, bool parseScene = true);
};

} // namespace corvane
