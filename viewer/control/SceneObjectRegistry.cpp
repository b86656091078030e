#include "viewer/control/SceneObjectRegistry.h"

namespace corvane {

SceneObjectRegistry::SceneObjectRegistry() = default;

SceneObjectRegistry::~SceneObjectRegistry() = default;

SceneObjectControl* SceneObjectRegistry::find(Ogre::SceneManager*, const std::string&) {
    return nullptr;
}

void SceneObjectRegistry::update(double) {}

std::size_t SceneObjectRegistry::size() const {
    return 0;
}

} // namespace corvane
