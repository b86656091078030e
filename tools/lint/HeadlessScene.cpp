#include "tools/lint/HeadlessScene.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreTextureManager.h>
#include <set>
#include <sstream>

#include "platform/StandardErrorCapture.h"
#include "viewer/ResourceGroup.h"
#include "viewer/scene/SceneLoader.h"

namespace corvane::lint {

namespace {

// The engine's texts may hold line feeds; a finding is one line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

// Remembers the script being parsed, to name the one the engine refuses.
class ScriptWatch : public Ogre::ResourceGroupListener {
public:
    void scriptParseStarted(const Ogre::String& name, bool&) override { current = name; }
    std::string current;
};

} // namespace

HeadlessScene::HeadlessScene() {
    // The engine's own log would only repeat what the findings say; it is kept in memory.
    logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog("corvane-lint.log", true, false, true);
    root = std::make_unique<Ogre::Root>("", "", "");
    bufferManager = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    // Material scripts name textures; without a render system they are names only.
    textureManager = std::make_unique<Ogre::DefaultTextureManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    Ogre::ResourceGroupManager::getSingleton().createResourceGroup(VIEWER_RESOURCE_GROUP);
    scene = root->createSceneManager();
}

HeadlessScene::~HeadlessScene() = default;

bool HeadlessScene::addFolder(const std::string& folder, std::string& error) {
    try {
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(folder, "FileSystem",
                                                                       VIEWER_RESOURCE_GROUP, true);
        return true;
    } catch (const Ogre::Exception& exception) {
        error = oneLine(exception.getDescription());
        return false;
    }
}

bool HeadlessScene::load(const std::string& fileName, std::vector<std::string>& lines) {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    std::string refused;
    std::string stopped;
    bool loaded = false;
    StandardErrorCapture capture;
    // A script the engine refuses ends the parsing of every later script of the group, as
    // it does in the viewer; the scene is still loaded.
    ScriptWatch watch;
    resources.addResourceGroupListener(&watch);
    try {
        resources.initialiseResourceGroup(VIEWER_RESOURCE_GROUP);
    } catch (const Ogre::Exception& exception) {
        refused = "the resources stopped loading at " + watch.current +
                  ", which the engine refuses: " + oneLine(exception.getDescription());
    }
    resources.removeResourceGroupListener(&watch);
    SceneLoader loader;
    try {
        loaded = loader.load(fileName, scene, nullptr, false, nullptr);
    } catch (const Ogre::Exception& exception) {
        stopped = "\"" + fileName + "\" stopped loading: " + oneLine(exception.getDescription());
    }
    const std::string written = capture.finish();

    if (!refused.empty())
        lines.push_back(refused);
    const Ogre::StringVectorPtr found =
        resources.findResourceNames(VIEWER_RESOURCE_GROUP, "*.scene");
    const std::set<std::string> sceneNames(found->begin(), found->end());
    std::istringstream stream(written);
    for (std::string line; std::getline(stream, line);)
        if (!line.empty() && sceneNames.count(line) == 0)
            lines.push_back(line);
    if (!stopped.empty())
        lines.push_back(stopped);
    return loaded;
}

} // namespace corvane::lint
