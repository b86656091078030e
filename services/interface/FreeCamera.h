#pragma once

#include <set>
#include <string>

#include "framework/ICameraControl.h"
#include "framework/IPlaybackStatus.h"
#include "framework/ProviderList.h"
#include "platform/WindowEvents.h"

namespace corvane {

class ActionMap;

// Flies the viewer's camera while the playback says that the camera is free (not the
// script's, menu closed), through ICameraControl alone, so that any viewer serving it can
// be flown. Both interfaces are found through the host on first need.
//   W, Up / S, Down        forward / back, along the view
//   A / D                  left / right
//   Page Up / Page Down    up / down, along the world's up axis
//   right button, dragged  look around; up stays up
//   wheel                  faster / slower
//   Shift, held            FAST_FACTOR times faster
// A key or button that an action is bound to keeps its action and does not fly.
class FreeCamera {
public:
    // Follows the fly keys and the mouse whether or not the camera is free, so that a key
    // held down when it becomes free flies at once.
    void handle(const WindowEvent& event, const ActionMap& actions);
    // One frame of `seconds`: when the camera is free, turns it by the frame's drag and
    // moves it by the keys held. The frame's drag and wheel are used up either way.
    void fly(float seconds);

    // Units per second without Shift.
    float getSpeed() const { return speed; }

    static constexpr float START_SPEED = 20.0f;
    static constexpr float SLOWEST = 0.01f;
    static constexpr float FASTEST = 1.0e5f;
    // Each step of the wheel multiplies or divides the speed by this.
    static constexpr float WHEEL_FACTOR = 1.25f;
    static constexpr float FAST_FACTOR = 5.0f;
    static constexpr float DEGREES_PER_PIXEL = 0.2f;
    // The view never tips over: it looks at most this far up or down.
    static constexpr float STEEPEST_DEGREES = 89.0f;

private:
    bool isFree();
    void turn(ICameraControl& camera);
    void move(ICameraControl& camera, float seconds);

    ProviderList<IPlaybackStatus> statuses;
    ProviderList<ICameraControl> cameras;
    std::set<std::string> held; // the fly keys down, by their window-system names
    bool looking = false;       // the right button is down
    int lastX = 0;
    int lastY = 0;
    float dragX = 0.0f; // pixels dragged this frame
    float dragY = 0.0f;
    int wheelSteps = 0; // up is positive
    float speed = START_SPEED;
};

} // namespace corvane
