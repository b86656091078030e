#include "services/interface/FreeCamera.h"

#include <OgreMath.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>
#include <algorithm>
#include <cmath>

#include "framework/Identifiers.h"
#include "services/interface/ActionMap.h"

namespace corvane {

namespace {

constexpr int RIGHT_BUTTON = 3;
constexpr int WHEEL_UP = 4;
constexpr int WHEEL_DOWN = 5;

// The keys that fly, by the names the window system gives them; Page Up and Page Down go
// by two names each.
const std::set<std::string> FLY_KEYS = {"w",       "a",         "s",       "d",
                                        "Up",      "Down",      "Prior",   "Next",
                                        "Page_Up", "Page_Down", "Shift_L", "Shift_R"};

Ogre::Quaternion toOgre(const FloatQuaternion& q) {
    return {q.w, q.x, q.y, q.z};
}

} // namespace

void FreeCamera::handle(const WindowEvent& event, const ActionMap& actions) {
    switch (event.kind) {
    case WindowEvent::KEY_DOWN:
        if (FLY_KEYS.count(event.key) > 0 && !actions.isBound(event.key))
            held.insert(event.key);
        break;
    case WindowEvent::KEY_UP:
        held.erase(event.key);
        break;
    case WindowEvent::BUTTON_DOWN:
        if (actions.isBound(ActionMap::buttonName(event.button)))
            break;
        if (event.button == RIGHT_BUTTON) {
            looking = true;
            lastX = event.x;
            lastY = event.y;
        } else if (event.button == WHEEL_UP || event.button == WHEEL_DOWN) {
            wheelSteps += event.button == WHEEL_UP ? 1 : -1;
        }
        break;
    case WindowEvent::BUTTON_UP:
        if (event.button == RIGHT_BUTTON)
            looking = false;
        break;
    case WindowEvent::POINTER_MOVED:
        if (looking) {
            dragX += static_cast<float>(event.x - lastX);
            dragY += static_cast<float>(event.y - lastY);
            lastX = event.x;
            lastY = event.y;
        }
        break;
    }
}

void FreeCamera::fly(float seconds) {
    const bool asked = !held.empty() || dragX != 0.0f || dragY != 0.0f || wheelSteps != 0;
    if (asked && isFree()) {
        speed = std::clamp(speed * std::pow(WHEEL_FACTOR, static_cast<float>(wheelSteps)), SLOWEST,
                           FASTEST);
        cameras.bind(IID_ICameraControl);
        for (ICameraControl* camera : cameras) {
            turn(*camera);
            move(*camera, seconds);
        }
    }
    dragX = 0.0f;
    dragY = 0.0f;
    wheelSteps = 0;
}

bool FreeCamera::isFree() {
    // Only the playback says when the camera is the user's: without one it is not flown.
    statuses.bind(IID_IPlaybackStatus);
    if (statuses.empty())
        return false;
    for (IPlaybackStatus* status : statuses)
        if (status->isMenuOrAutoCamera())
            return false;
    return true;
}

void FreeCamera::turn(ICameraControl& camera) {
    if (dragX == 0.0f && dragY == 0.0f)
        return;
    const Ogre::Quaternion orientation = toOgre(camera.getOrientation());
    // Dragging right turns right, dragging up looks up; the pitch stops short of straight
    // up or down, where turning about the world's up axis would roll the view.
    const float steepest = Ogre::Math::DegreesToRadians(STEEPEST_DEGREES);
    const float current = std::asin(
        std::clamp((orientation * Ogre::Vector3::NEGATIVE_UNIT_Z).normalisedCopy().y, -1.0f, 1.0f));
    const float wanted = std::clamp(
        current - Ogre::Math::DegreesToRadians(dragY * DEGREES_PER_PIXEL), -steepest, steepest);
    const Ogre::Quaternion yaw(
        Ogre::Radian(-Ogre::Math::DegreesToRadians(dragX * DEGREES_PER_PIXEL)),
        Ogre::Vector3::UNIT_Y);
    const Ogre::Quaternion pitch(Ogre::Radian(wanted - current), Ogre::Vector3::UNIT_X);
    Ogre::Quaternion turned = yaw * orientation * pitch;
    turned.normalise();
    camera.setOrientation({turned.w, turned.x, turned.y, turned.z});
}

void FreeCamera::move(ICameraControl& camera, float seconds) {
    const auto axis = [this](std::initializer_list<const char*> plus,
                             std::initializer_list<const char*> minus) {
        const auto any = [this](std::initializer_list<const char*> keys) {
            return std::any_of(keys.begin(), keys.end(),
                               [this](const char* key) { return held.count(key) > 0; });
        };
        return static_cast<float>(any(plus)) - static_cast<float>(any(minus));
    };
    const float forward = axis({"w", "Up"}, {"s", "Down"});
    const float right = axis({"d"}, {"a"});
    const float up = axis({"Prior", "Page_Up"}, {"Next", "Page_Down"});
    const float fast = axis({"Shift_L", "Shift_R"}, {}) > 0.0f ? FAST_FACTOR : 1.0f;
    const Ogre::Quaternion orientation = toOgre(camera.getOrientation());
    Ogre::Vector3 direction = orientation * Ogre::Vector3::NEGATIVE_UNIT_Z * forward +
                              orientation * Ogre::Vector3::UNIT_X * right +
                              Ogre::Vector3::UNIT_Y * up;
    if (direction.isZeroLength())
        return;
    direction.normalise();
    const FloatVector3 position = camera.getPosition();
    const Ogre::Vector3 moved =
        Ogre::Vector3(position.x, position.y, position.z) + direction * (speed * fast * seconds);
    camera.setCameraPosition({moved.x, moved.y, moved.z});
}

} // namespace corvane
