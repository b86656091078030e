// fuzz_scene: any text as a ".scene" resource of the viewer, loaded by the scene loader
// into a scene manager of the engine without a window, over the generated media. Every
// load starts on an empty scene. The engine's exceptions must not leave the loader: one
// that does ends the run as a crash.
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <exception>

#include "tests/fuzz/FuzzTarget.h"
#include "tools/HeadlessMediaEngine.h"
#include "viewer/ResourceGroup.h"
#include "viewer/scene/SceneLoader.h"

namespace {

using namespace corvane;

constexpr const char* SCENE_NAME = "fuzz.scene";

// The engine, the viewer's resource group over the scratch folder, and the loader, made
// on the first input and kept for the whole run.
struct Rig {
    Rig() {
        fuzz::writeScratch(SCENE_NAME, "<scene/>");
        Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
        resources.createResourceGroup(VIEWER_RESOURCE_GROUP);
        resources.addResourceLocation(fuzz::scratchFolder(), "FileSystem", VIEWER_RESOURCE_GROUP);
    }
    tools::HeadlessMediaEngine engine;
    SceneLoader loader;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Rig rig;
    fuzz::writeScratch(SCENE_NAME, fuzz::text(data, size));
    Ogre::SceneManager* scene = rig.engine.sceneManager();
    try {
        rig.loader.load(SCENE_NAME, scene, nullptr, false, nullptr);
    } catch (const std::exception& error) {
        fuzz::fail(error.what());
    }
    scene->clearScene();
    return 0;
}
