#pragma once

#include <OgrePrerequisites.h>

namespace corvane {

// Places a light or a camera relative to the scene node that carries it. The file gives
// these offsets and directions for the object itself, not for its node (which other
// objects may share), so only the object's own calls give the result; the engine marks
// them deprecated, and this is the one place that calls them.
class AttachedPlacement {
public:
    static void setPosition(Ogre::Light& light, const Ogre::Vector3& position);
    static void setDirection(Ogre::Light& light, const Ogre::Vector3& direction);
    static void setPosition(Ogre::Camera& camera, const Ogre::Vector3& position);
    static void setDirection(Ogre::Camera& camera, const Ogre::Vector3& direction);
    // Turns the camera towards `target`, a point in world space.
    static void lookAt(Ogre::Camera& camera, const Ogre::Vector3& target);
};

} // namespace corvane
