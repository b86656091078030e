#include "host/SceneFiles.h"

#include <filesystem>
#include <system_error>
#include <tinyxml.h>

#include "framework/XmlReader.h"
#include "host/SceneScript.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

std::string absolute(const std::string& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored).lexically_normal().string();
}

// The file's text, or why there is none.
bool readable(const std::string& path, std::string& text, std::vector<std::string>& problems) {
    std::error_code ignored;
    if (!fs::is_regular_file(path, ignored)) {
        problems.push_back(path + ": there is no such file");
        return false;
    }
    if (!XmlReader::readFile(path, text)) {
        problems.push_back(path + ": cannot be read");
        return false;
    }
    return true;
}

} // namespace

SceneFiles SceneFiles::resolve(const std::string& scene, const std::string& script,
                               const std::vector<std::string>& mediaFolders) {
    SceneFiles files;
    files.scene = absolute(scene);
    if (std::string text; readable(files.scene, text, files.problems)) {
        TiXmlDocument document;
        const std::string problem =
            XmlReader::describe(XmlReader::parse(text, document), files.scene, text, document);
        if (!problem.empty())
            files.problems.push_back(problem);
    }
    files.folders = {fs::path(files.scene).parent_path().string()};
    for (const std::string& media : mediaFolders) {
        const std::string folder = absolute(media);
        std::error_code ignored;
        if (!fs::is_directory(folder, ignored))
            files.problems.push_back(folder + ": there is no such folder");
        files.folders.push_back(folder);
    }
    files.script = SceneScript::choose(files.scene, script);
    if (!files.script.empty()) {
        files.script = absolute(files.script);
        std::string text;
        readable(files.script, text, files.problems);
    }
    return files;
}

} // namespace corvane
