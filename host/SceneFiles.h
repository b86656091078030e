#pragma once

#include <string>
#include <vector>

namespace corvane {

// Where a scene, its media and its script are, found the same way for every command that
// takes them: the paths made absolute (a run's current folder is an application folder
// elsewhere), the scene's own folder searched first, the script given or the one beside the
// scene (SceneScript), and what cannot be used said once each.
struct SceneFiles {
    std::string scene;
    // The scene's folder, then each media folder: each is searched with every folder below.
    std::vector<std::string> folders;
    // Empty when there is no script.
    std::string script;
    // One line each, naming the file or folder: "PATH: there is no such file",
    // "PATH:ROW:COLUMN: the parser's message", "PATH: there is no such folder".
    std::vector<std::string> problems;

    static SceneFiles resolve(const std::string& scene, const std::string& script,
                              const std::vector<std::string>& mediaFolders);
};

} // namespace corvane
