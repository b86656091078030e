#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <OgreQuaternion.h>
#include <OgreVector.h>

#include "viewer/CameraMotion.h"

namespace Ogre {
class AnimationState;
class Entity;
class Node;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

class SceneObjectRegistry;

// The scene as it stood at the end of the viewer's start, kept to be put back: every scene
// node's transform, every entity's attachment and animation states, the scene's own
// animation states (the nodes' animations), and the camera's motion. Object controls hold nothing
// then (no other plug-in has run yet), and restoring empties them. Nodes are kept by address and
// put back only while still in the scene; entities by name, so that one made anew under a name is
// restored too.
class SceneSnapshot {
public:
    void capture(Ogre::SceneManager& sceneManager, const CameraMotion& cameraMotion);
    // Puts everything captured back and empties every control of `objects`. False,
    // changing nothing, when nothing was captured.
    bool restore(Ogre::SceneManager& sceneManager, SceneObjectRegistry& objects,
                 CameraMotion& cameraMotion) const;
    bool isCaptured() const { return captured; }

    // What is kept of one animation state.
    struct AnimationSetting {
        std::string name;
        float time;
        float weight;
        bool enabled;
        bool loop;
    };

private:
    struct Transform {
        Ogre::Vector3 position;
        Ogre::Quaternion orientation;
        Ogre::Vector3 scale;
    };
    // Where an entity hangs: a scene node, a bone of another entity with the offsets it was
    // hung with, or nowhere.
    struct Attachment {
        Ogre::Node* sceneNode = nullptr;
        std::string holder;
        std::string bone;
        Transform offset{};
        bool operator==(const Attachment& other) const;
    };
    struct EntityState {
        std::string name;
        Attachment attachment;
        std::vector<AnimationSetting> animations;
    };

    static Attachment attachmentOf(const Ogre::Entity& entity);
    static void detach(Ogre::Entity& entity);
    static void attach(Ogre::SceneManager& sceneManager, Ogre::Entity& entity,
                       const Attachment& attachment, const std::unordered_set<Ogre::Node*>& live);

    // Puts the animation states of `states` back as `settings` has them.
    static void restoreAnimations(const std::vector<AnimationSetting>& settings,
                                  const std::map<std::string, Ogre::AnimationState*>& states);

    bool captured = false;
    std::unordered_map<Ogre::Node*, Transform> nodes;
    std::vector<EntityState> entities;
    std::vector<AnimationSetting> sceneAnimations;
    CameraMotion camera;
};

} // namespace corvane
