#include <OgreQuaternion.h>
#include <OgreVector.h>
#include <gtest/gtest.h>

#include "framework/Identifiers.h"
#include "services/interface/ActionMap.h"
#include "services/interface/FreeCamera.h"
#include "tests/support/FakeHost.h"

namespace corvane {
namespace {

// The viewer's camera as the interface shows it.
class FakeCamera final : public ICameraControl {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override {
        if (iid != IID_ICameraControl)
            return E_FAIL;
        *out = static_cast<ICameraControl*>(this);
        return S_OK;
    }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    void setLocalVelocity(const FloatVector3&) override {}
    void setCameraPosition(const FloatVector3& value) override { position = value; }
    void setWorldVelocity(const FloatVector3&) override {}
    void setMoveTarget(const FloatVector3&) override {}
    void rotateDegrees(const float&, const float&, const float&) override {}
    void setOrientation(const FloatQuaternion& value) override { orientation = value; }
    FloatVector3 getPosition() override { return position; }
    FloatQuaternion getOrientation() override { return orientation; }
    void startRotationSlerp(const float&, const FloatQuaternion&, const FloatQuaternion&) override {
    }

    // Where the camera looks.
    Ogre::Vector3 forward() const {
        return Ogre::Quaternion(orientation.w, orientation.x, orientation.y, orientation.z) *
               Ogre::Vector3::NEGATIVE_UNIT_Z;
    }

    FloatVector3 position{0.0f, 0.0f, 0.0f};
    FloatQuaternion orientation{1.0f, 0.0f, 0.0f, 0.0f};
};

class FakeStatus final : public IPlaybackStatus {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override {
        if (iid != IID_IPlaybackStatus)
            return E_FAIL;
        *out = static_cast<IPlaybackStatus*>(this);
        return S_OK;
    }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    bool isMenuOrAutoCamera() override { return menuOrAuto; }
    bool menuOrAuto = false;
};

class FreeCameraTest : public ::testing::Test {
protected:
    FreeCameraTest() {
        host.add(UUID::fromFields(1, 0, 0, 1), &status);
        host.add(UUID::fromFields(1, 0, 0, 2), &camera);
    }
    void key(const char* name, bool down) {
        flight.handle({down ? WindowEvent::KEY_DOWN : WindowEvent::KEY_UP, name, 0, 0, 0}, actions);
    }
    void button(int number, bool down, int x = 0, int y = 0) {
        flight.handle({down ? WindowEvent::BUTTON_DOWN : WindowEvent::BUTTON_UP, "", number, x, y},
                      actions);
    }
    void pointer(int x, int y) {
        flight.handle({WindowEvent::POINTER_MOVED, "", 0, x, y}, actions);
    }
    Ogre::Vector3 position() const {
        return {camera.position.x, camera.position.y, camera.position.z};
    }

    testing::FakeHost host;
    FakeStatus status;
    FakeCamera camera;
    ActionMap actions;
    FreeCamera flight;
};

void expectNear(const Ogre::Vector3& actual, const Ogre::Vector3& expected) {
    EXPECT_LT(actual.distance(expected), 1e-3f) << actual << " is not " << expected;
}

TEST_F(FreeCameraTest, KeysMoveAlongTheViewDraggingTurnsItAndTheWheelAndShiftSpeedItUp) {
    const float speed = FreeCamera::START_SPEED;
    key("w", true);
    flight.fly(0.5f);
    expectNear(position(), {0, 0, -speed / 2});
    key("Shift_L", true);
    flight.fly(0.1f);
    expectNear(position(), {0, 0, -speed});
    key("Shift_L", false);
    key("w", false);

    // 450 pixels to the right at 0.2 degrees each: a quarter turn to the right.
    button(3, true, 100, 100);
    pointer(550, 100);
    flight.fly(0.02f);
    expectNear(camera.forward(), Ogre::Vector3::UNIT_X);
    expectNear(position(), {0, 0, -speed});
    // The right button let go, the pointer turns nothing.
    button(3, false);
    pointer(0, 0);
    key("d", true);
    key("Prior", true);
    flight.fly(1.0f);
    const float diagonal = speed / std::sqrt(2.0f);
    expectNear(position(), {0, diagonal, -speed + diagonal});
    key("d", false);
    key("Prior", false);

    // Two steps of the wheel up, then a drag far upwards that stops short of straight up.
    button(4, true);
    button(4, false);
    button(4, true);
    button(4, false);
    button(3, true, 0, 1000);
    pointer(0, 0);
    flight.fly(0.0f);
    EXPECT_FLOAT_EQ(flight.getSpeed(), speed * 1.25f * 1.25f);
    EXPECT_NEAR(camera.forward().y, std::sin(Ogre::Math::DegreesToRadians(89.0f)), 1e-4f);
}

TEST_F(FreeCameraTest, NothingFliesWhileThePlaybackHoldsTheCameraOrWithKeysOfActions) {
    ASSERT_TRUE(actions.bind("EXIT", "w"));
    key("w", true);
    flight.fly(1.0f);
    status.menuOrAuto = true;
    key("s", true);
    button(3, true, 0, 0);
    pointer(100, 100);
    flight.fly(1.0f);
    expectNear(position(), Ogre::Vector3::ZERO);
    expectNear(camera.forward(), Ogre::Vector3::NEGATIVE_UNIT_Z);

    // Free again: the key held all along flies at once; the drag while held was dropped.
    status.menuOrAuto = false;
    flight.fly(1.0f);
    expectNear(position(), {0, 0, FreeCamera::START_SPEED});
    expectNear(camera.forward(), Ogre::Vector3::NEGATIVE_UNIT_Z);
}

} // namespace
} // namespace corvane
