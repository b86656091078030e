#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// The arguments of a subcommand that takes a scene, an optional script and options, in any
// order:  SCENE [KEYFRAMES] [--FLAG]... [--OPTION VALUE]...   ("-h" is "--help").
class SceneArguments {
public:
    // The flags and the options that take a value that the subcommand knows, "--help" aside,
    // and short names of options ("-o" for "--output").
    SceneArguments(std::set<std::string> flags, std::set<std::string> valued,
                   std::map<std::string, std::string> shortNames = {});

    // False and `error` set for an option it does not know, or one without its value.
    bool read(const std::vector<std::string>& arguments, std::string& error);
    bool has(const std::string& flag) const { return given.count(flag) > 0; }
    // The options with their values, in the order given.
    const std::vector<std::pair<std::string, std::string>>& values() const { return options; }
    // The scene and the script (empty when there is none); false and `error` set unless one
    // or two arguments are no option.
    bool sceneAndScript(std::string& scene, std::string& script, std::string& error) const;

private:
    std::set<std::string> flags;
    std::set<std::string> valued;
    std::map<std::string, std::string> shortNames;
    std::set<std::string> given;
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> files;
};

} // namespace corvane
