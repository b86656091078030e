#pragma once

#include <cstddef>
#include <string>

namespace Ogre {
class SceneManager;
}

namespace corvane {

class SceneObjectControl;

// The controllable objects of the scene, by entity name, each made on its first lookup
// and kept at a fixed address until the registry goes.
class SceneObjectRegistry {
public:
    SceneObjectRegistry();
    ~SceneObjectRegistry();

    // The control of the entity of that name, made on first lookup; null when the scene
    // manager has no such entity (an entry made earlier stays).
    SceneObjectControl* find(Ogre::SceneManager* sceneManager, const std::string& entityName);
    // One update of every control, in ascending order of entity name.
    void update(double seconds);
    std::size_t size() const;
};

} // namespace corvane
