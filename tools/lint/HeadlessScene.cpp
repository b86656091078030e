#include "tools/lint/HeadlessScene.h"

#include <OgreMovableObject.h>
#include <OgreParticleSystemManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <Overlay/OgreOverlaySystem.h>

#include "platform/DebugOutput.h"
#include "platform/DiagnosticSink.h"
#include "tools/lint/SceneTextures.h"
#include "viewer/EngineLogLines.h"
#include "viewer/ResourceGroup.h"
#include "viewer/ResourceLocations.h"
#include "viewer/ResourceReadGuard.h"
#include "viewer/ResourceScripts.h"
#include "viewer/scene/SceneLoader.h"

namespace corvane::lint {

HeadlessScene::HeadlessScene() {
    // Material scripts name textures; without a render system they are names only.
    root = rendering.makeRoot();
    // Particle scripts parse as in the viewer, which loads the engine's particle plug-in,
    // and textures are decoded by the viewer's image codec.
    try {
        root->loadPlugin(std::string(CORVANE_OGRE_PLUGIN_DIR) + "/Plugin_ParticleFX");
        Ogre::ParticleSystemManager::getSingleton()._initialise();
    } catch (const Ogre::Exception& exception) {
        DebugOutput::line("corvane lint: particle scripts are not read: " +
                          DebugOutput::oneLine(exception.getDescription()));
    }
    try {
        root->loadPlugin(std::string(CORVANE_OGRE_PLUGIN_DIR) + "/" CORVANE_IMAGE_CODEC);
    } catch (const Ogre::Exception& exception) {
        DebugOutput::line("corvane lint: textures are not decoded: " +
                          DebugOutput::oneLine(exception.getDescription()));
    }
    overlays = std::make_unique<Ogre::OverlaySystem>();
    Ogre::ResourceGroupManager::getSingleton().createResourceGroup(VIEWER_RESOURCE_GROUP);
    scene = root->createSceneManager();
}

HeadlessScene::~HeadlessScene() = default;

bool HeadlessScene::addFolder(const std::string& folder, std::string& error) {
    const std::vector<std::string> added =
        ResourceLocations::add(folder, "FileSystem", VIEWER_RESOURCE_GROUP, true,
                               [&error](const std::string& location, const std::string& reason) {
                                   if (error.empty())
                                       error = location + ": " + reason;
                               });
    return !added.empty() && added.front() == folder;
}

bool HeadlessScene::load(const std::string& fileName, DiagnosticSink& sink) {
    // Files are looked at as the viewer looks at them: a mesh or skeleton cut short, a
    // texture too large or that cannot be decoded are findings at their files.
    ResourceReadGuard guard;
    EngineLogLines engineLines(VIEWER_RESOURCE_GROUP, guard, sink);
    // Every script is parsed as the viewer parses it: a faulty one costs only itself.
    ResourceScripts scripts(VIEWER_RESOURCE_GROUP, sink);
    scripts.initialise({});
    SceneLoader loader(sink);
    try {
        const bool loaded = loader.load(fileName, scene, nullptr, false, nullptr);
        SceneTextures::check(*scene, engineLines);
        return loaded;
    } catch (const Ogre::Exception& exception) {
        Diagnostic stopped;
        stopped.file = fileName;
        stopped.message = "\"" + fileName +
                          "\" stopped loading: " + DebugOutput::oneLine(exception.getDescription());
        sink.report(stopped);
        return false;
    }
}

} // namespace corvane::lint
