#include "host/HostConfiguration.h"

#include <filesystem>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"

namespace corvane {

namespace {

// The parser's message, with its row and column when it knows them.
std::string parseError(const std::string& origin, const TiXmlDocument& document) {
    std::string where = origin;
    if (document.ErrorRow() > 0)
        where +=
            ":" + std::to_string(document.ErrorRow()) + ":" + std::to_string(document.ErrorCol());
    return where + ": " + document.ErrorDesc();
}

// The parser recurses once per level: a text nested deeper than the stack can hold would
// end the host.
bool nestsTooDeep(std::size_t depth, const std::string& origin, std::string& error) {
    if (depth <= XmlNestingDepth::LIMIT)
        return false;
    error = origin + ": elements nest deeper than " + std::to_string(XmlNestingDepth::LIMIT) +
            " levels";
    return true;
}

} // namespace

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
    if (!std::filesystem::is_regular_file(path, ignored)) {
        error = path + ": no such file";
        return false;
    }
    if (nestsTooDeep(XmlNestingDepth::ofFile(path.c_str()), path, error))
        return false;
    if (!document->LoadFile(path.c_str())) {
        error = parseError(path, *document);
        return false;
    }
    return readDocument(path, error);
}

bool HostConfiguration::parse(const std::string& text, const std::string& origin,
                              std::string& error) {
    document = std::make_unique<TiXmlDocument>();
    entries.clear();
    if (nestsTooDeep(XmlNestingDepth::of(text), origin, error))
        return false;
    document->Parse(text.c_str());
    if (document->Error()) {
        error = parseError(origin, *document);
        return false;
    }
    return readDocument(origin, error);
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
