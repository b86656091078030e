#include "tests/fuzz/ViewerRig.h"

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreTagPoint.h>

#include "tests/fuzz/FuzzTarget.h"
#include "tools/HeadlessMediaEngine.h"
#include "viewer/control/TransformGuard.h"

namespace corvane::fuzz {

namespace {

constexpr const char* SCENE_FILE = "fuzz.scene";

// After the engine's pass over the scene graph, its derived transforms are up to date.
bool isPlaced(const Ogre::Node& node) {
    return TransformGuard::isFinite(node._getDerivedPosition()) &&
           TransformGuard::isFinite(node._getDerivedScale()) &&
           TransformGuard::isRotation(node._getDerivedOrientation());
}

void checkBelow(const Ogre::Node& node) {
    if (!isPlaced(node))
        fail(("node \"" + node.getName() + "\" has a place that is not finite").c_str());
    for (const Ogre::Node* child : node.getChildren())
        checkBelow(*child);
}

} // namespace

ViewerRig::ViewerRig(const std::string& sceneText) {
    writeScratch(SCENE_FILE, sceneText);
    viewer.addResourceLocation(scratchFolder(), "FileSystem");
    viewer.addResourceLocation(tools::HeadlessMediaEngine::mediaFolder(), "FileSystem");
    viewer.setSceneFile(SCENE_FILE);
    if (!viewer.start())
        fail("the viewer did not start");
}

void ViewerRig::frame(float seconds) {
    viewer.advanceScene(seconds);
    derive();
}

void ViewerRig::derive() {
    Ogre::SceneManager* scene = viewer.getSceneManager();
    // What the engine does before it draws: the scene graph's places and bounding boxes
    // (the engine's bounding boxes assert on NaN), then each entity's skeleton and the
    // objects on its bones.
    scene->_updateSceneGraph(viewer.getCamera());
    checkBelow(*scene->getRootSceneNode());
    for (const auto& [name, movable] : scene->getMovableObjects("Entity")) {
        auto* entity = static_cast<Ogre::Entity*>(movable);
        if (!entity->isAttached())
            continue;
        entity->_updateAnimation();
        if (entity->isParentTagPoint() && !isPlaced(*entity->getParentNode()))
            fail(("entity \"" + name + "\" hangs on a bone at a place that is not finite").c_str());
        entity->getWorldBoundingBox(true);
    }
}

} // namespace corvane::fuzz
