#pragma once

#include <map>
#include <set>
#include <string>

namespace Ogre {
class SceneManager;
} // namespace Ogre

namespace corvane::lint {

// The names in a loaded scene that a keyframe script can reach: entities with their
// animations and bones (and the scene nodes with animations of their own, which scripts
// name as entities), and scene nodes, by the names the engine knows them by.
struct SceneInventory {
    struct Entity {
        std::set<std::string> animations;
        std::set<std::string> bones;
        bool skeleton = false;
    };

    std::map<std::string, Entity> entities;
    std::set<std::string> entityNames;
    std::set<std::string> nodes;

    // Everything in `sceneManager` now.
    static SceneInventory of(Ogre::SceneManager& sceneManager);
};

} // namespace corvane::lint
