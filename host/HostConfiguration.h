#pragma once

#include <memory>
#include <string>
#include <vector>

class TiXmlDocument;
class TiXmlElement;

namespace corvane {

// The host configuration: the plug-ins to load, in order, each with the environment
// element handed to its ParseEnvironmentXML.
//
//   <corvane>
//     <plugin library="SceneViewer">
//       <environment> ... </environment>
//     </plugin>
//   </corvane>
class HostConfiguration {
public:
    struct Plugin {
        std::string library;             // as written: a name, or a path with a '/'
        const TiXmlElement* environment; // the plug-in's "environment", or an empty one
    };

    HostConfiguration();
    ~HostConfiguration();

    // Reads the file; false and `error` set (with row and column for a parse error) when it
    // cannot be read, does not parse, or names no plug-in.
    bool load(const std::string& path, std::string& error);
    // The same for text already in memory; `origin` names it in errors.
    bool parse(const std::string& text, const std::string& origin, std::string& error);

    const std::vector<Plugin>& plugins() const { return entries; }
    // The folder of the loaded file, against which library paths are resolved.
    const std::string& folder() const { return baseFolder; }

private:
    bool readDocument(const std::string& origin, std::string& error);

    std::unique_ptr<TiXmlDocument> document;
    std::unique_ptr<TiXmlElement> emptyEnvironment;
    std::vector<Plugin> entries;
    std::string baseFolder;
};

} // namespace corvane
