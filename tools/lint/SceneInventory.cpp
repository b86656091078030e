#include "tools/lint/SceneInventory.h"

#include <OgreAnimationState.h>
#include <OgreBone.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSkeletonInstance.h>

#include "viewer/scene/NodeAnimationReader.h"

namespace corvane::lint {

namespace {

void addNodes(const Ogre::Node& node, std::set<std::string>& names) {
    for (const Ogre::Node* child : node.getChildren()) {
        if (!child->getName().empty())
            names.insert(child->getName());
        addNodes(*child, names);
    }
}

SceneInventory::Entity describe(Ogre::Entity& entity) {
    SceneInventory::Entity facts;
    // A mesh whose skeleton cannot be loaded has neither animation states nor bones.
    if (const Ogre::AnimationStateSet* states = entity.getAllAnimationStates())
        for (const auto& [name, state] : states->getAnimationStates())
            facts.animations.insert(name);
    if (entity.hasSkeleton()) {
        facts.skeleton = true;
        for (const Ogre::Bone* bone : entity.getSkeleton()->getBones())
            facts.bones.insert(bone->getName());
    }
    return facts;
}

} // namespace

SceneInventory SceneInventory::of(Ogre::SceneManager& sceneManager) {
    SceneInventory inventory;
    for (const auto& [name, object] : sceneManager.getMovableObjects("Entity")) {
        inventory.entities.emplace(name, describe(*static_cast<Ogre::Entity*>(object)));
        inventory.entityNames.insert(name);
    }
    // A node with animations of its own is named in scripts as an entity is.
    for (const auto& [node, animations] : NodeAnimationReader::of(sceneManager)) {
        SceneInventory::Entity& facts = inventory.entities[node];
        for (const auto& [name, animation] : animations)
            facts.animations.insert(name);
        inventory.entityNames.insert(node);
    }
    addNodes(*sceneManager.getRootSceneNode(), inventory.nodes);
    return inventory;
}

} // namespace corvane::lint
