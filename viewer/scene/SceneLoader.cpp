#include "viewer/scene/SceneLoader.h"

namespace corvane {

SceneLoader::SceneLoader() = default;

SceneLoader::~SceneLoader() = default;

bool SceneLoader::load(const std::string&, Ogre::SceneManager*, Ogre::RenderWindow*, bool,
                       Ogre::SceneNode*) {
    return false;
}

} // namespace corvane
