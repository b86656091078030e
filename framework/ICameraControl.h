#pragma once

#include "framework/FloatQuaternion.h"
#include "framework/FloatVector3.h"
#include "framework/IUnknown.h"

namespace corvane {

// The viewer's player camera. Velocities, target and timed turn are stored and applied by
// the viewer's following frames; positions and turns marked "at once" act immediately.
// Id {BA006B08-3CEC-4BB9-AC58-380FDACFD35F}. Only after the viewer has started.
class ICameraControl : public IUnknown {
public:
    // Slot 3: camera-relative velocity, units per second.
    virtual void setLocalVelocity(const FloatVector3& velocity) = 0;
    // Slot 4: moves the camera there at once; velocities, target and turn stay as they are.
    virtual void setCameraPosition(const FloatVector3& position) = 0;
    // Slot 5: world velocity, units per second.
    virtual void setWorldVelocity(const FloatVector3& velocity) = 0;
    // Slot 6: where velocity motion stops; (0, 0, 0) is an ordinary target.
    virtual void setMoveTarget(const FloatVector3& target) = 0;
    // Slot 7: turns at once by pitch, then yaw, then roll, in degrees about the camera's axes.
    virtual void rotateDegrees(const float& pitch, const float& yaw, const float& roll) = 0;
    // Slot 8: sets the orientation at once and ends a running timed turn.
    virtual void setOrientation(const FloatQuaternion& orientation) = 0;
    // Slot 9: the camera's position.
    virtual FloatVector3 getPosition() = 0;
    // Slot 10: the camera's orientation.
    virtual FloatQuaternion getOrientation() = 0;
    // Slot 11: timed turn from `from` to `to` at `rate` (fraction per second), from the
    // next frame on.
    virtual void startRotationSlerp(const float& rate, const FloatQuaternion& from,
                                    const FloatQuaternion& to) = 0;

protected:
    ~ICameraControl() = default;
};

} // namespace corvane
