#include "tools/HeadlessViewer.h"

#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>

#include "viewer/ResourceGroup.h"

namespace corvane::tools {

HeadlessViewer::HeadlessViewer() = default;

HeadlessViewer::~HeadlessViewer() = default;

bool HeadlessViewer::configure() {
    return true;
}

void HeadlessViewer::setUpViewport() {}

void HeadlessViewer::addResourceLocations() {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    if (!resources.resourceGroupExists(VIEWER_RESOURCE_GROUP))
        resources.createResourceGroup(VIEWER_RESOURCE_GROUP);
    for (const auto& [location, type] : pendingResourceLocations())
        resources.addResourceLocation(location, type, VIEWER_RESOURCE_GROUP);
}

std::unique_ptr<Ogre::Root> HeadlessViewer::createRoot() {
    return makeRoot();
}

} // namespace corvane::tools
