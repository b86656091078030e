#include "tools/HeadlessMediaEngine.h"

#include <OgreEntity.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreScriptCompiler.h>

namespace corvane::tools {

const char* const HeadlessMediaEngine::GROUP = "GeneratedMedia";

HeadlessMediaEngine::HeadlessMediaEngine() : engineRoot(rendering.makeRoot()) {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    // The group is not initialised: the meshes need only their own materials, and parsing
    // every script of the folder would lengthen the start of every test. Meshes and
    // skeletons load by name all the same.
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
