#include "viewer/CameraMotion.h"

#include <OgreNode.h>

namespace corvane {

void CameraMotion::startTurn(float rate, const Ogre::Quaternion& from, const Ogre::Quaternion& to) {
    slerpRate = rate;
    slerpProgress = 0.0f;
    slerpFrom = from;
    slerpTo = to;
}

void CameraMotion::advance(Ogre::Node& camera, float seconds, float timeScale) {
    // The remaining way is taken once, before either step: both steps are measured
    // against where the camera stood at the start of the frame.
    const Ogre::Vector3 remaining = moveTarget - camera.getPosition();
    const Ogre::Real remainingSquared = remaining.squaredLength();

    const Ogre::Vector3 localStep = localVelocity * seconds * timeScale;
    if (localStep.squaredLength() < remainingSquared) {
        camera.translate(localStep, Ogre::Node::TS_LOCAL);
    } else {
        camera.setPosition(moveTarget);
        localVelocity = Ogre::Vector3::ZERO;
    }

    const Ogre::Vector3 worldStep = worldVelocity * seconds * timeScale;
    if (worldStep.squaredLength() < remainingSquared) {
        camera.translate(worldStep, Ogre::Node::TS_PARENT);
    } else {
        camera.setPosition(moveTarget);
        worldVelocity = Ogre::Vector3::ZERO;
    }

    if (slerpRate != 0.0f) {
        slerpProgress += seconds * timeScale * slerpRate;
        // Only an overshoot ends the turn; landing on exactly 1.0 keeps the rate.
        if (slerpProgress > 1.0f) {
            slerpRate = 0.0f;
            slerpProgress = 1.0f;
        }
        camera.setOrientation(Ogre::Quaternion::Slerp(slerpProgress, slerpFrom, slerpTo, true));
    }
}

} // namespace corvane
