#include "host/PluginLocator.h"

#include <filesystem>
#include <system_error>

namespace corvane {

PluginLocator::PluginLocator(std::vector<std::string> extraFolders, const std::string& hostFolder)
    : folders(std::move(extraFolders)) {
    if (!hostFolder.empty()) {
        folders.push_back(hostFolder + "/../lib/corvane");
        folders.push_back(hostFolder);
    }
}

std::string PluginLocator::locate(const std::string& library,
                                  const std::string& configurationFolder) const {
    namespace fs = std::filesystem;
    if (library.find('/') != std::string::npos) {
        const fs::path path(library);
        return path.is_absolute() ? library : (fs::path(configurationFolder) / path).string();
    }
    const std::string file = library + ".so";
    if (std::string found = find(file); !found.empty())
        return found;
    return folders.empty() ? file : (fs::path(folders.front()) / file).string();
}

std::string PluginLocator::locateProgram(const std::string& name) const {
    return find(name);
}

std::string PluginLocator::find(const std::string& file) const {
    namespace fs = std::filesystem;
    std::error_code ignored;
    for (const std::string& folder : folders) {
        const fs::path candidate = fs::path(folder) / file;
        if (fs::is_regular_file(candidate, ignored))
            return fs::weakly_canonical(candidate, ignored).string();
    }
    return {};
}

} // namespace corvane
