#include "viewer/scene/AttachedPlacement.h"

#include <OgreCamera.h>
#include <OgreLight.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace corvane {

void AttachedPlacement::setPosition(Ogre::Light& light, const Ogre::Vector3& position) {
    light.setPosition(position);
}

void AttachedPlacement::setDirection(Ogre::Light& light, const Ogre::Vector3& direction) {
    light.setDirection(direction);
}

void AttachedPlacement::setPosition(Ogre::Camera& camera, const Ogre::Vector3& position) {
    camera.setPosition(position);
}

void AttachedPlacement::setDirection(Ogre::Camera& camera, const Ogre::Vector3& direction) {
    camera.setDirection(direction);
}

void AttachedPlacement::lookAt(Ogre::Camera& camera, const Ogre::Vector3& target) {
    camera.lookAt(target);
}

} // namespace corvane

#pragma GCC diagnostic pop
