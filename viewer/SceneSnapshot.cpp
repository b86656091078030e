#include "viewer/SceneSnapshot.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreTagPoint.h>
#include <unordered_set>

#include "viewer/control/SceneObjectRegistry.h"

namespace corvane {

namespace {

const char* const ENTITY_TYPE = "Entity";

// The engine normalises every orientation a node is given, and normalising a quaternion
// that is normalised already can move its last bit: the snapshot writes back the very value
// it kept, so that a restored scene goes on exactly as the loaded one did. Never made: it
// only opens the node's orientation (and, being abstract, cannot be final).
class ExactOrientation : public Ogre::Node {
public:
    static void set(Ogre::Node& node, const Ogre::Quaternion& orientation) {
        node.*(&ExactOrientation::mOrientation) = orientation;
        node.needUpdate();
    }
};

template <class States>
void keepAnimations(const States& states, std::vector<SceneSnapshot::AnimationSetting>& settings) {
    for (const auto& [name, animation] : states)
        settings.push_back({name, animation->getTimePosition(), animation->getWeight(),
                            animation->getEnabled(), animation->getLoop()});
}

template <class Visit>
void forEachNode(Ogre::Node& node, Visit& visit) {
    visit(node);
    for (Ogre::Node* child : node.getChildren())
        forEachNode(*child, visit);
}

} // namespace

bool SceneSnapshot::Attachment::operator==(const Attachment& other) const {
    return sceneNode == other.sceneNode && holder == other.holder && bone == other.bone &&
           offset.position == other.offset.position &&
           offset.orientation == other.offset.orientation && offset.scale == other.offset.scale;
}

void SceneSnapshot::capture(Ogre::SceneManager& sceneManager, const CameraMotion& cameraMotion) {
    nodes.clear();
    entities.clear();
    auto keep = [this](Ogre::Node& node) {
        nodes[&node] = {node.getPosition(), node.getOrientation(), node.getScale()};
    };
    forEachNode(*sceneManager.getRootSceneNode(), keep);
    for (const auto& [name, movable] : sceneManager.getMovableObjects(ENTITY_TYPE)) {
        const auto& entity = static_cast<const Ogre::Entity&>(*movable);
        EntityState state{name, attachmentOf(entity), {}};
        if (const Ogre::AnimationStateSet* states = entity.getAllAnimationStates())
            keepAnimations(states->getAnimationStates(), state.animations);
        entities.push_back(std::move(state));
    }
    sceneAnimations.clear();
    keepAnimations(sceneManager.getAnimationStates(), sceneAnimations);
    camera = cameraMotion;
    captured = true;
}

bool SceneSnapshot::restore(Ogre::SceneManager& sceneManager, SceneObjectRegistry& objects,
                            CameraMotion& cameraMotion) const {
    if (!captured)
        return false;
    // Only nodes still in the scene are touched.
    std::unordered_set<Ogre::Node*> live;
    auto putBack = [this, &live](Ogre::Node& node) {
        live.insert(&node);
        const auto kept = nodes.find(&node);
        if (kept == nodes.end())
            return;
        node.setPosition(kept->second.position);
        ExactOrientation::set(node, kept->second.orientation);
        node.setScale(kept->second.scale);
    };
    forEachNode(*sceneManager.getRootSceneNode(), putBack);

    // Everything that hangs elsewhere comes off first, so that no attachment is made while
    // an entity it involves still hangs in a later place.
    std::vector<std::pair<Ogre::Entity*, const Attachment*>> moved;
    for (const EntityState& state : entities) {
        if (!sceneManager.hasEntity(state.name))
            continue;
        Ogre::Entity* entity = sceneManager.getEntity(state.name);
        if (attachmentOf(*entity) == state.attachment)
            continue;
        detach(*entity);
        moved.emplace_back(entity, &state.attachment);
    }
    for (const auto& [entity, attachment] : moved)
        attach(sceneManager, *entity, *attachment, live);

    for (const EntityState& state : entities) {
        if (!sceneManager.hasEntity(state.name))
            continue;
        if (Ogre::AnimationStateSet* states =
                sceneManager.getEntity(state.name)->getAllAnimationStates())
            restoreAnimations(state.animations, states->getAnimationStates());
    }
    restoreAnimations(sceneAnimations, sceneManager.getAnimationStates());

    for (auto& [name, control] : objects.entries())
        control.resetMotion();
    cameraMotion = camera;
    return true;
}

void SceneSnapshot::restoreAnimations(const std::vector<AnimationSetting>& settings,
                                      const std::map<std::string, Ogre::AnimationState*>& states) {
    for (const AnimationSetting& setting : settings) {
        const auto found = states.find(setting.name);
        if (found == states.end())
            continue;
        Ogre::AnimationState* animation = found->second;
        // The loop flag first: it decides how the time position is taken.
        animation->setLoop(setting.loop);
        animation->setTimePosition(setting.time);
        animation->setWeight(setting.weight);
        animation->setEnabled(setting.enabled);
    }
}

SceneSnapshot::Attachment SceneSnapshot::attachmentOf(const Ogre::Entity& entity) {
    Attachment attachment;
    if (!entity.isAttached())
        return attachment;
    Ogre::Node* parent = entity.getParentNode();
    if (!entity.isParentTagPoint()) {
        attachment.sceneNode = parent;
        return attachment;
    }
    const auto* tagPoint = static_cast<const Ogre::TagPoint*>(parent);
    attachment.holder = tagPoint->getParentEntity()->getName();
    attachment.bone = tagPoint->getParent()->getName();
    attachment.offset = {tagPoint->getPosition(), tagPoint->getOrientation(), tagPoint->getScale()};
    return attachment;
}

void SceneSnapshot::detach(Ogre::Entity& entity) {
    if (!entity.isAttached())
        return;
    Ogre::Node* parent = entity.getParentNode();
    if (entity.isParentTagPoint())
        static_cast<Ogre::TagPoint*>(parent)->getParentEntity()->detachObjectFromBone(&entity);
    else
        static_cast<Ogre::SceneNode*>(parent)->detachObject(&entity);
}

void SceneSnapshot::attach(Ogre::SceneManager& sceneManager, Ogre::Entity& entity,
                           const Attachment& attachment,
                           const std::unordered_set<Ogre::Node*>& live) {
    if (attachment.sceneNode != nullptr) {
        if (live.count(attachment.sceneNode) > 0)
            static_cast<Ogre::SceneNode*>(attachment.sceneNode)->attachObject(&entity);
        return;
    }
    if (attachment.holder.empty() || !sceneManager.hasEntity(attachment.holder))
        return;
    Ogre::TagPoint* tagPoint =
        sceneManager.getEntity(attachment.holder)
            ->attachObjectToBone(attachment.bone, &entity, attachment.offset.orientation,
                                 attachment.offset.position);
    ExactOrientation::set(*tagPoint, attachment.offset.orientation);
    tagPoint->setScale(attachment.offset.scale);
}

} // namespace corvane
