#include "host/SoundDefinitions.h"

#include <filesystem>
#include <tinyxml.h>

#include "host/HostConfiguration.h"

namespace corvane {

bool SoundDefinitions::read(const std::string& path,
                            std::vector<std::pair<std::string, std::string>>& sounds,
                            std::vector<std::string>& skipped, std::string& error) {
    namespace fs = std::filesystem;
    HostConfiguration configuration;
    if (!configuration.load(path, error))
        return false;
    const std::vector<const TiXmlElement*> found = environments(configuration);
    for (const TiXmlElement* environment : found) {
        for (const TiXmlElement* sound = environment->FirstChildElement("sound"); sound != nullptr;
             sound = sound->NextSiblingElement("sound")) {
            const char* name = sound->Attribute("name");
            const char* file = sound->Attribute("file");
            if (name == nullptr || *name == '\0' || file == nullptr || *file == '\0') {
                skipped.push_back(path + ":" + std::to_string(sound->Row()) +
                                  ": a \"sound\" element needs a \"name\" and a \"file\"; it is "
                                  "skipped");
                continue;
            }
            const fs::path where(file);
            sounds.emplace_back(
                name, where.is_absolute()
                          ? where.string()
                          : (fs::path(configuration.folder()) / where).lexically_normal().string());
        }
    }
    if (found.empty())
        error = path + " loads no Sound plug-in";
    return !found.empty();
}

std::vector<const TiXmlElement*>
SoundDefinitions::environments(const HostConfiguration& configuration) {
    std::vector<const TiXmlElement*> found;
    for (const HostConfiguration::Plugin& plugin : configuration.plugins())
        if (std::filesystem::path(plugin.library).stem() == "Sound")
            found.push_back(plugin.environment);
    return found;
}

} // namespace corvane
