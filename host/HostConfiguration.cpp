#include "host/HostConfiguration.h"

#include <filesystem>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"

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
// The reader's verdict on the text as one message; empty when it parsed.
std::string problemWith(XmlReader::Outcome outcome, const std::string& origin,
                        const std::string& text, const TiXmlDocument& document) {
    switch (outcome) {
    case XmlReader::Outcome::PARSED:
        return "";
    case XmlReader::Outcome::TOO_DEEP:
        return origin + ": elements nest deeper than " + std::to_string(XmlNestingDepth::LIMIT) +
               " levels";
    case XmlReader::Outcome::UNREADABLE_ENCODING:
        return origin + ": an encoding the parser cannot read (" +
               XmlReader::unreadableEncoding(text) + ")";
    case XmlReader::Outcome::MALFORMED:
        break;
    }
    return parseError(origin, document);
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
    std::string text;
    if (!XmlReader::readFile(path, text)) {
        error = path + ": cannot be read";
        return false;
    }
    return parse(text, path, error);
}

bool HostConfiguration::parse(const std::string& text, const std::string& origin,
                              std::string& error) {
    document = std::make_unique<TiXmlDocument>();
    entries.clear();
    error = problemWith(XmlReader::parse(text, *document), origin, text, *document);
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
