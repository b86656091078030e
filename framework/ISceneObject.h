#pragma once

#include <string>

#include "framework/FloatQuaternion.h"
#include "framework/FloatVector3.h"

namespace corvane {

// One entity of the viewer's scene. A plain interface: no id, no query, no reference
// count; the viewer owns every object and callers never free one. "anim" names an
// animation state of the entity; "the node" is the entity's parent node. Rates, slides,
// velocity and timed turn are stored and applied by the viewer's following frames.
class ISceneObject {
public:
    // Slot 0: enables anim and sets its rate (animation seconds per scaled second); rate 0
    // on a playing animation drops it.
    virtual void setAnimationRate(const std::string& anim, double rate) = 0;
    // Slot 1: the time position at which anim stops; below 0 removes the stop time.
    virtual void setAnimationStopTime(const std::string& anim, double time) = 0;
    // Slot 2: disables anim and drops its rate; its stop time stays.
    virtual void stopAnimation(const std::string& anim) = 0;
    // Slot 3: switches anim on or off.
    virtual void setAnimationEnabled(const std::string& anim, bool enabled) = 0;
    // Slot 4: whether anim wraps around at its end.
    virtual void setAnimationLoop(const std::string& anim, bool loop) = 0;
    // Slot 5: the blend weight of anim.
    virtual void setAnimationWeight(const std::string& anim, double weight) = 0;
    // Slot 6: weight change of anim per scaled second; 0 ends the slide.
    virtual void setWeightSlideRate(const std::string& anim, double rate) = 0;
    // Slot 7: the weight at which the slides of anim stop.
    virtual void setWeightSlideTarget(const std::string& anim, double weight) = 0;
    // Slot 8: moves anim to a time position, in seconds.
    virtual void setAnimationTimePosition(const std::string& anim, double time) = 0;
    // Slot 9: the node's position relative to its parent.
    virtual FloatVector3 getPosition() = 0;
    // Slot 10: the node's world position.
    virtual FloatVector3 getWorldPosition() = 0;
    // Slot 11: moves the node by the offset along its own axes.
    virtual void translate(const FloatVector3& offset) = 0;
    // Slot 12: the node's position relative to its parent.
    virtual void setPosition(const FloatVector3& position) = 0;
    // Slot 13: movement per scaled second in the parent's space.
    virtual void setVelocity(const FloatVector3& velocity) = 0;
    // Slot 14: the stored velocity.
    virtual FloatVector3 getVelocity() = 0;
    // Slot 15: where the movement stops; (0, 0, 0) means no target.
    virtual void setMoveTarget(const FloatVector3& target) = 0;
    // Slot 16: the node's orientation relative to its parent.
    virtual FloatQuaternion getOrientation() = 0;
    // Slot 17: resets the node's orientation, then rolls z, pitches x and yaws y degrees.
    virtual void setOrientationDegrees(const float& x, const float& y, const float& z) = 0;
    // Slot 18: the node's orientation relative to its parent.
    virtual void setOrientation(const FloatQuaternion& orientation) = 0;
    // Slot 19: rolls z, pitches x and yaws y degrees from the current orientation.
    virtual void rotateDegrees(const float& x, const float& y, const float& z) = 0;
    // Slot 20: rotates the node by the quaternion in its own space.
    virtual void rotate(const FloatQuaternion& rotation) = 0;
    // Slot 21: timed turn from `from` to `to` at `rate` (progress per scaled second).
    virtual void startRotationSlerp(const float& rate, const FloatQuaternion& from,
                                    const FloatQuaternion& to) = 0;
    // Slot 22: writes the node's relative and world transform to the diagnostic channel
    // and to standard output.
    virtual void printTransform() = 0;
    // Slot 23: takes `other` (an object of this viewer) off wherever it hangs and hangs it
    // on this entity's bone, with the given offsets.
    virtual void attachToBone(const std::string& bone, ISceneObject* other,
                              const FloatQuaternion& offsetOrientation,
                              const FloatVector3& offsetPosition) = 0;
    // Slot 24: takes the object of that name off this entity's bones.
    virtual void detachFromBone(const std::string& objectName) = 0;
    // Slot 25: takes this entity off wherever it hangs and attaches it to the scene node of
    // exactly that name (the loader's nodes are named "node_" and the file's name).
    virtual void attachToSceneNode(const std::string& nodeName) = 0;
    // Slot 26: the entity's name.
    virtual const std::string& getName() = 0;
    // Slot 27: only the viewer destroys objects.
    virtual ~ISceneObject() = default;
};

} // namespace corvane
