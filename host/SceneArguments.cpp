#include "host/SceneArguments.h"

namespace corvane {

SceneArguments::SceneArguments(std::set<std::string> flags, std::set<std::string> valued,
                               std::map<std::string, std::string> shortNames)
    : flags(std::move(flags)), valued(std::move(valued)), shortNames(std::move(shortNames)) {
    this->flags.insert("--help");
    this->shortNames.emplace("-h", "--help");
}

bool SceneArguments::read(const std::vector<std::string>& arguments, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto shortName = shortNames.find(arguments[i]);
        const std::string& argument =
            shortName != shortNames.end() ? shortName->second : arguments[i];
        if (flags.count(argument) > 0) {
            given.insert(argument);
        } else if (argument.rfind("--", 0) != 0) {
            files.push_back(argument);
        } else if (valued.count(argument) == 0) {
            error = "unknown option \"" + argument + "\"";
            return false;
        } else if (i + 1 >= arguments.size()) {
            error = argument + " needs a value";
            return false;
        } else {
            options.emplace_back(argument, arguments[++i]);
        }
    }
    return true;
}

bool SceneArguments::sceneAndScript(std::string& scene, std::string& script,
                                    std::string& error) const {
    if (files.empty() || files.size() > 2) {
        error = files.empty() ? "a scene file is needed" : "one scene and one script at most";
        return false;
    }
    scene = files[0];
    script = files.size() == 2 ? files[1] : "";
    return true;
}

} // namespace corvane
