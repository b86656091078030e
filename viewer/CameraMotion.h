#pragma once

#include <OgreQuaternion.h>
#include <OgreVector.h>

namespace Ogre {
class Node;
}

namespace corvane {

class TransformGuard;

// The player camera's motion between frames: velocities towards a target and a timed turn,
// stored by the camera operations and applied by `advance` once per frame. A plain value:
// a copy holds the whole motion.
class CameraMotion {
public:
    // Camera-relative and world velocities, units per second; the place where both stop.
    // (0, 0, 0) is an ordinary target.
    void setLocalVelocity(const Ogre::Vector3& velocity) { localVelocity = velocity; }
    void setWorldVelocity(const Ogre::Vector3& velocity) { worldVelocity = velocity; }
    void setMoveTarget(const Ogre::Vector3& target) { moveTarget = target; }
    // A turn from `from` to `to` at `rate` (fraction per second), from the next advance on.
    void startTurn(float rate, const Ogre::Quaternion& from, const Ogre::Quaternion& to);
    // Ends a running turn where it stands.
    void endTurn() { slerpRate = 0.0f; }

    const Ogre::Vector3& getLocalVelocity() const { return localVelocity; }
    const Ogre::Vector3& getWorldVelocity() const { return worldVelocity; }
    float getTurnRate() const { return slerpRate; }
    float getTurnProgress() const { return slerpProgress; }

    // One frame of `seconds` at `timeScale`: the camera-relative step, the world step (both
    // measured against where `camera` stood at the start), then the turn. A step that would
    // put the camera beyond the range of floats, or a turn the engine cannot normalise, is
    // refused by `guard` with one line naming `operation`: that velocity or the turn ends,
    // and the camera stays where the frame found it.
    void advance(Ogre::Node& camera, float seconds, float timeScale, const TransformGuard& guard,
                 const char* operation);

private:
    Ogre::Vector3 localVelocity = Ogre::Vector3::ZERO;
    Ogre::Vector3 worldVelocity = Ogre::Vector3::ZERO;
    Ogre::Vector3 moveTarget = Ogre::Vector3::ZERO;
    float slerpRate = 0.0f;
    float slerpProgress = 0.0f;
    Ogre::Quaternion slerpFrom = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion slerpTo = Ogre::Quaternion::IDENTITY;
};

} // namespace corvane
