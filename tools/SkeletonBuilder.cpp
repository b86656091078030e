#include "tools/SkeletonBuilder.h"

#include <OgreAnimation.h>
#include <OgreAnimationTrack.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>
#include <OgreResourceGroupManager.h>
#include <OgreSkeletonManager.h>

namespace corvane::tools {

SkeletonBuilder::SkeletonBuilder(const std::string& name)
    : skeleton(Ogre::SkeletonManager::getSingleton().create(
          name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, true)) {}

void SkeletonBuilder::addBone(const std::string& name, const std::string& parent,
                              const Ogre::Vector3& position) {
    Ogre::Bone* bone = skeleton->createBone(name);
    if (!parent.empty())
        skeleton->getBone(parent)->addChild(bone);
    bone->setPosition(position);
}

void SkeletonBuilder::addAnimation(const std::string& name, float lengthSeconds) {
    skeleton->createAnimation(name, lengthSeconds);
}

void SkeletonBuilder::addTurn(const std::string& animation, const std::string& bone,
                              float timeSeconds, const Ogre::Vector3& axis, float degrees) {
    Ogre::Animation* target = skeleton->getAnimation(animation);
    Ogre::Bone* turned = skeleton->getBone(bone);
    const unsigned short handle = turned->getHandle();
    Ogre::NodeAnimationTrack* track = target->hasNodeTrack(handle)
                                          ? target->getNodeTrack(handle)
                                          : target->createNodeTrack(handle, turned);
    Ogre::TransformKeyFrame* key = track->createNodeKeyFrame(timeSeconds);
    key->setRotation(Ogre::Quaternion(Ogre::Degree(degrees), axis));
}

Ogre::SkeletonPtr SkeletonBuilder::finish() {
    skeleton->setBindingPose();
    // A manual skeleton without a loader: marked as loaded, so that unloading it when it
    // goes frees its bones and animations.
    skeleton->load();
    return skeleton;
}

} // namespace corvane::tools
