#pragma once

#include <string>

#include <OgreSkeleton.h>
#include <OgreVector.h>

namespace corvane::tools {

// Makes a skeleton bone by bone and its animations key by key. Keys turn a bone away from
// its rest pose; a bone without a key in an animation keeps its rest pose there.
class SkeletonBuilder {
public:
    // A manual skeleton of that name in the engine's default resource group.
    explicit SkeletonBuilder(const std::string& name);

    // A bone at `position` relative to the bone `parent` (empty: a root bone), at rest.
    void addBone(const std::string& name, const std::string& parent, const Ogre::Vector3& position);
    // An animation `lengthSeconds` long.
    void addAnimation(const std::string& name, float lengthSeconds);
    // A key of `animation` at `timeSeconds` that turns `bone` by `degrees` about `axis`
    // (in the bone's own space) from its rest pose.
    void addTurn(const std::string& animation, const std::string& bone, float timeSeconds,
                 const Ogre::Vector3& axis, float degrees);

    // The skeleton, with the bones' current poses as their rest poses.
    Ogre::SkeletonPtr finish();

private:
    Ogre::SkeletonPtr skeleton;
};

} // namespace corvane::tools
