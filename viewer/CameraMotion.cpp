#include "viewer/CameraMotion.h"

#include <OgreNode.h>

#include "viewer/control/TransformGuard.h"

namespace corvane {

void CameraMotion::startTurn(float rate, const Ogre::Quaternion& from, const Ogre::Quaternion& to) {
    slerpRate = rate;
    slerpProgress = 0.0f;
    slerpFrom = from;
    slerpTo = to;
}

namespace {

// A velocity's step in a frame, in the order of the products that the frame loop forms. A
// velocity that overflows the range of floats over a long frame, times a time scale of 0,
// is not a number: the paused camera does not move, as with any other velocity.
Ogre::Vector3 stepOf(const Ogre::Vector3& velocity, float seconds, float timeScale) {
    const Ogre::Vector3 step = velocity * seconds * timeScale;
    return step.isNaN() ? Ogre::Vector3::ZERO : step;
}

} // namespace

void CameraMotion::advance(Ogre::Node& camera, float seconds, float timeScale,
                           const TransformGuard& guard, const char* operation) {
    // The remaining way is taken once, before either step: both steps are measured
    // against where the camera stood at the start of the frame.
    const Ogre::Vector3 remaining = moveTarget - camera.getPosition();
    const Ogre::Real remainingSquared = remaining.squaredLength();

    const Ogre::Vector3 localStep = stepOf(localVelocity, seconds, timeScale);
    if (localStep.squaredLength() < remainingSquared) {
        if (!guard.places(
                operation, camera, [&] { camera.translate(localStep, Ogre::Node::TS_LOCAL); },
                "local movement stopped"))
            localVelocity = Ogre::Vector3::ZERO;
    } else {
        camera.setPosition(moveTarget);
        localVelocity = Ogre::Vector3::ZERO;
    }

    const Ogre::Vector3 worldStep = stepOf(worldVelocity, seconds, timeScale);
    if (worldStep.squaredLength() < remainingSquared) {
        if (!guard.places(
                operation, camera, [&] { camera.translate(worldStep, Ogre::Node::TS_PARENT); },
                "world movement stopped"))
            worldVelocity = Ogre::Vector3::ZERO;
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
        if (!guard.orients(operation, camera,
                           Ogre::Quaternion::Slerp(slerpProgress, slerpFrom, slerpTo, true),
                           "turn stopped"))
            endTurn();
    }
}

} // namespace corvane
