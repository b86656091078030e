#include "tools/HeadlessMediaEngine.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreEntity.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreScriptCompiler.h>

namespace corvane::tools {

const char* const HeadlessMediaEngine::GROUP = "GeneratedMedia";

HeadlessMediaEngine::HeadlessMediaEngine() {
    // The engine's log would fill the test output; nothing in it is checked.
    logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog("test.log", true, false, true);
    engineRoot = std::make_unique<Ogre::Root>("", "", "");
    bufferManager = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    // The group is not initialised: that would parse every material script, and the
    // markers' textures need a render system. The meshes' materials have no textures;
    // meshes and skeletons load by name all the same.
    resources.addResourceLocation(mediaFolder(), "FileSystem", GROUP);
    for (const char* name : {"media.material", "axes.material"}) {
        Ogre::DataStreamPtr script = resources.openResource(name, GROUP);
        Ogre::ScriptCompilerManager::getSingleton().parseScript(script, GROUP);
    }
    scene = engineRoot->createSceneManager();
}

HeadlessMediaEngine::~HeadlessMediaEngine() = default;

Ogre::Entity* HeadlessMediaEngine::addEntity(const std::string& name,
                                             const std::string& mesh) const {
    Ogre::Entity* entity = scene->createEntity("entity_" + name, mesh, GROUP);
    addNode(name)->attachObject(entity);
    return entity;
}

Ogre::SceneNode* HeadlessMediaEngine::addNode(const std::string& name) const {
    return scene->getRootSceneNode()->createChildSceneNode("node_" + name);
}

std::string HeadlessMediaEngine::mediaFolder() {
    return CORVANE_MEDIA_FOLDER;
}

} // namespace corvane::tools
