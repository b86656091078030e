#pragma once

#include <string>
#include <vector>

namespace corvane {

// Finds a plug-in library named in the host configuration. A name with a '/' is a path,
// relative to the configuration's folder; a bare name N is looked up as N.so in the
// given folders, then in the installed plug-in folder beside the host
// (<host>/../lib/corvane), then next to the host itself.
class PluginLocator {
public:
    PluginLocator(std::vector<std::string> extraFolders, const std::string& hostFolder);

    // The path to open; for a bare name that is nowhere, the name in the first folder, so
    // that the open fails with a message naming a real place.
    std::string locate(const std::string& library, const std::string& configurationFolder) const;
    // A program of ours, installed where the plug-ins are (a subcommand's tool), in the
    // same folders; empty when it is in none of them.
    std::string locateProgram(const std::string& name) const;

private:
    // The first folder's `file` that exists, canonical; empty when none has it.
    std::string find(const std::string& file) const;

    std::vector<std::string> folders;
};

} // namespace corvane
