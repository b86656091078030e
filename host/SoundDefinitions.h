#pragma once

#include <string>
#include <utility>
#include <vector>

class TiXmlElement;

namespace corvane {

class HostConfiguration;

// The sounds that the Sound plug-in of a host configuration defines, for commands that run
// the plug-ins over the user's own files (`--sounds FILE`): each "sound" element's name and
// file, the file taken relative to the configuration's folder, where the host runs it.
class SoundDefinitions {
public:
    // False and `error` set when the configuration cannot be read or loads no Sound plug-in.
    // A "sound" element without a name or a file is skipped with a line in `skipped`.
    static bool read(const std::string& configuration,
                     std::vector<std::pair<std::string, std::string>>& sounds,
                     std::vector<std::string>& skipped, std::string& error);
    // The environments of the Sound plug-ins that `configuration` loads, in its order.
    static std::vector<const TiXmlElement*> environments(const HostConfiguration& configuration);
};

} // namespace corvane
