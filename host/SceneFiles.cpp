#include "host/SceneFiles.h"

#include <filesystem>
#include <system_error>
#include <tinyxml.h>

#include "framework/XmlReader.h"
#include "host/SceneScript.h"
#include "platform/FileAccess.h"

namespace corvane {

namespace fs = std::filesystem;

std::string SceneFiles::absolute(const std::string& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored).lexically_normal().string();
}

std::string SceneFiles::Problem::line() const {
    // The parser's reason begins with the row and column it stopped at.
    const bool atPlace = !reason.empty() && reason.front() >= '0' && reason.front() <= '9';
    return path + (atPlace ? ":" : ": ") + reason;
}

SceneFiles SceneFiles::resolve(const std::string& scene, const std::string& script,
                               const std::vector<std::string>& mediaFolders, bool parseScene) {
    SceneFiles files;
    auto problem = [&files](const std::string& path, const std::string& given,
                            const std::string& reason) {
        files.problems.push_back({path, given, reason});
    };
    files.scene = absolute(scene);
    // Checked and read through one opening when it is parsed here.
    std::string text;
    const std::string unread =
        parseScene ? FileAccess::read(files.scene, text) : FileAccess::whyNotReadable(files.scene);
    bool sceneRead = unread.empty();
    if (!sceneRead) {
        problem(files.scene, scene, unread);
    } else if (parseScene) {
        TiXmlDocument document;
        if (const std::string parsed =
                XmlReader::describe(XmlReader::parse(text, document), "", text, document);
            !parsed.empty()) {
            // ":ROW:COLUMN: the parser's message", or ": why the text was refused".
            problem(files.scene, scene, parsed.substr(parsed.compare(0, 2, ": ") == 0 ? 2 : 1));
            sceneRead = false;
        }
    }
    // Meshes and textures are looked for by listing the folders: a folder that cannot be
    // listed would play a scene without them.
    const fs::path sceneFolder = fs::path(files.scene).parent_path();
    files.folders = {sceneFolder.string()};
    if (const std::string reason =
            sceneRead ? FileAccess::whyNotListable(files.folders.front()) : std::string();
        !reason.empty())
        problem(files.folders.front(),
                fs::path(scene).has_parent_path() ? fs::path(scene).parent_path().string() : ".",
                "the scene's folder cannot be listed: " + reason);
    for (const std::string& media : mediaFolders) {
        const std::string folder = absolute(media);
        if (const std::string reason = FileAccess::whyNotListable(folder); !reason.empty())
            problem(folder, media, reason);
        files.folders.push_back(folder);
    }
    files.scriptAsGiven = SceneScript::choose(scene, script);
    if (!files.scriptAsGiven.empty()) {
        files.script = absolute(files.scriptAsGiven);
        if (const std::string reason = FileAccess::whyNotReadable(files.script); !reason.empty())
            problem(files.script, files.scriptAsGiven, reason);
    }
    return files;
}

} // namespace corvane
