#include "tools/HeadlessRendering.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreGpuProgramManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgrePlugin.h>
#include <OgreRoot.h>
#include <OgreTextureManager.h>

namespace corvane::tools {

// The managers a render system brings, as an engine plug-in: the engine's offline texture
// manager, and a manager of GPU programs, which material scripts reach for whenever a pass
// names a program (without one, the engine stops the process). Its programs are names and
// parameters only: nothing compiles them. The root object lets the plug-in go after it has
// unloaded every resource and before the resource groups go, which is the one time at
// which that is safe.
class HeadlessRendering::TextureStandIn final : public Ogre::Plugin {
public:
    const Ogre::String& getName() const override { return name; }
    void install() override {
        textures = std::make_unique<Ogre::DefaultTextureManager>();
        if (Ogre::GpuProgramManager::getSingletonPtr() == nullptr)
            programs = std::make_unique<Ogre::GpuProgramManager>();
    }
    void initialise() override {}
    void shutdown() override {}
    void uninstall() override {
        programs.reset();
        textures.reset();
    }

private:
    const Ogre::String name = "Corvane headless textures and programs";
    std::unique_ptr<Ogre::DefaultTextureManager> textures;
    std::unique_ptr<Ogre::GpuProgramManager> programs;
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
