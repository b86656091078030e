#pragma once

#include <string>

namespace Ogre {
class RenderWindow;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

// Reads a dotScene file from the viewer's resource locations into scene nodes, entities,
// lights and cameras under one root node.
class SceneLoader {
public:
    SceneLoader();
    ~SceneLoader();

    // Builds the scene of the ".scene" resource `fileName` in `sceneManager`, under
    // `rootNode` or, when that is null, under a new child of the scene manager's root
    // node. `window` is accepted and not used. True when the file was read and built.
    bool load(const std::string& fileName, Ogre::SceneManager* sceneManager,
              Ogre::RenderWindow* window, bool showInfo, Ogre::SceneNode* rootNode);
};

} // namespace corvane
