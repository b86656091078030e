#pragma once

#include <string>
#include <vector>

namespace corvane::lint {

// The command line of `corvane lint`.
struct LintOptions {
    std::string scene;                     // the ".scene" file
    std::string keyframes;                 // the script; empty: keyframes.xml beside the scene
    std::vector<std::string> mediaFolders; // --media DIR: more resource folders
    std::string configuration;             // --config FILE: the host configuration, for sounds
    std::string sounds;                    // --sounds FILE: sounds as play takes them
    bool json = false;                     // --format json
    bool strict = false;                   // --strict: warnings fail too
    bool help = false;                     // --help

    // Reads the arguments after "lint"; false and `error` set when they make no sense.
    bool parse(const std::vector<std::string>& arguments, std::string& error);

    static std::string usage();
};

} // namespace corvane::lint
