#include "tools/HeadlessRendering.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgrePlugin.h>
#include <OgreRoot.h>
#include <OgreTextureManager.h>

namespace corvane::tools {

// The engine's offline texture manager, as an engine plug-in: the root object lets it go
// after it has unloaded every resource and before the resource groups go, which is the
// one time at which that is safe.
class HeadlessRendering::TextureStandIn final : public Ogre::Plugin {
public:
    const Ogre::String& getName() const override { return name; }
    void install() override { manager = std::make_unique<Ogre::DefaultTextureManager>(); }
    void initialise() override {}
    void shutdown() override {}
    void uninstall() override { manager.reset(); }

private:
    const Ogre::String name = "Corvane headless textures";
    std::unique_ptr<Ogre::DefaultTextureManager> manager;
};

HeadlessRendering::HeadlessRendering() = default;

HeadlessRendering::~HeadlessRendering() = default;

std::unique_ptr<Ogre::Root> HeadlessRendering::makeRoot() {
    // The engine's log would fill the output of tests; nothing in it is read.
    if (Ogre::LogManager::getSingletonPtr() == nullptr) {
        logManager = std::make_unique<Ogre::LogManager>();
        logManager->createLog("headless.log", true, false, true);
    }
    auto root = std::make_unique<Ogre::Root>("", "", "");
    bufferManager = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    textures = std::make_unique<TextureStandIn>();
    root->installPlugin(textures.get());
    Ogre::MaterialManager::getSingleton().initialise();
    return root;
}

} // namespace corvane::tools
