#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvane {

// Adds resource locations to a group, the one way the viewer and the tools that load
// scenes as it does register them.
class ResourceLocations {
public:
    // Called with a location the engine refuses and its reason (one line).
    using Refusal = std::function<void(const std::string& location, const std::string& reason)>;

    // Adds `location` of archive `type` to `group`. A recursive "FileSystem" location is
    // added together with every folder below it (FolderTree), each as a location of its
    // own: the engine finds a file of a recursive location only by its path below the
    // location ("models/door.mesh"), while scenes, meshes and scripts name their files
    // by the bare name, wherever a project keeps them. Other types pass the flag to the
    // engine. A location the group holds already (a folder below another recursive one
    // given on its own as well) is left out, so that its scripts are not read twice.
    // Returns the locations the engine took, in order; each one it refuses goes to
    // `refused` and is left out.
    static std::vector<std::string> add(const std::string& location, const std::string& type,
                                        const std::string& group, bool recursive,
                                        const Refusal& refused);
};

} // namespace corvane
