#include "viewer/ResourceLocations.h"

#include <OgreException.h>
#include <OgreResourceGroupManager.h>

#include "platform/DebugOutput.h"
#include "platform/FolderTree.h"

namespace corvane {

std::vector<std::string> ResourceLocations::add(const std::string& location,
                                                const std::string& type, const std::string& group,
                                                bool recursive, const Refusal& refused) {
    const bool byFolder = recursive && type == "FileSystem";
    std::vector<std::string> locations{location};
    if (byFolder)
        for (std::string& folder : FolderTree::below(location))
            locations.push_back(std::move(folder));
    std::vector<std::string> added;
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string& each : locations) {
        if (resources.resourceLocationExists(each, group))
            continue;
        try {
            resources.addResourceLocation(each, type, group, recursive && !byFolder);
            added.push_back(each);
        } catch (const Ogre::Exception& error) {
            refused(each, DebugOutput::oneLine(error.getDescription()));
        }
    }
    return added;
}

} // namespace corvane
