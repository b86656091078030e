#include "host/HostConfiguration.h"

#include <filesystem>
#include <tinyxml.h>

#include "framework/XmlReader.h"
#include "platform/FileAccess.h"

namespace corvane {

HostConfiguration::HostConfiguration()
    : document(std::make_unique<TiXmlDocument>()),
      emptyEnvironment(std::make_unique<TiXmlElement>("environment")) {}

HostConfiguration::~HostConfiguration() = default;

bool HostConfiguration::load(const std::string& path, std::string& error) {
    document = std::make_unique<TiXmlDocument>();
    entries.clear();
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    baseFolder = absolute.parent_path().string();
    std::string text;
    if (const std::string why = FileAccess::read(path, text); !why.empty()) {
        error = path + ": " + why;
        return false;
    }
    return parse(text, path, error);
}

bool HostConfiguration::parse(const std::string& text, const std::string& origin,
                              std::string& error) {
    document = std::make_unique<TiXmlDocument>();
    entries.clear();
    error = XmlReader::describe(XmlReader::parse(text, *document), origin, text, *document);
    return error.empty() && readDocument(origin, error);
}

bool HostConfiguration::readDocument(const std::string& origin, std::string& error) {
    const TiXmlElement* root = document->RootElement();
    if (root == nullptr) {
        error = origin + ": no root element";
        return false;
    }
    for (const TiXmlElement* plugin = root->FirstChildElement("plugin"); plugin != nullptr;
         plugin = plugin->NextSiblingElement("plugin")) {
        const char* library = plugin->Attribute("library");
        if (library == nullptr || *library == '\0') {
            error = origin + ":" + std::to_string(plugin->Row()) +
                    ": a \"plugin\" element needs a \"library\" attribute";
            return false;
        }
        const TiXmlElement* environment = plugin->FirstChildElement("environment");
        entries.push_back({library, environment != nullptr ? environment : emptyEnvironment.get()});
    }
    if (entries.empty()) {
        error = origin + ": no \"plugin\" element";
        return false;
    }
    return true;
}

} // namespace corvane
