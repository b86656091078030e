#include <Ogre.h>
#include <functional>
#include <gmock/gmock.h>
#include <limits>

#include "tests/viewer/ViewerFixture.h"

namespace corvane {
namespace {

using testing::ViewerTest;

// The camera as its controllers see it, through the interface.
class CameraTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        if (IsSkipped())
            return;
        start();
        camera = viewer.get();
    }
    Ogre::Vector3 position() {
        const FloatVector3 value = camera->getPosition();
        return {value.x, value.y, value.z};
    }
    Ogre::Quaternion orientation() {
        const FloatQuaternion value = camera->getOrientation();
        return {value.w, value.x, value.y, value.z};
    }
    // The orientation the engine's camera really renders with.
    Ogre::Quaternion rendered() { return viewer->getCamera()->getDerivedOrientation(); }

    ICameraControl* camera = nullptr;
};

FloatQuaternion plain(const Ogre::Quaternion& value) {
    return {value.w, value.x, value.y, value.z};
}

const Ogre::Quaternion QUARTER_YAW(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);
// Quaternion::equals measures the angle between two orientations in single precision.
const Ogre::Degree TOLERANCE(0.1f);

TEST_F(CameraTest, WorldVelocityLandsExactlyOnTheTargetAndEnds) {
    camera->setMoveTarget({0, 0, -10});
    camera->setWorldVelocity({0, 0, -4});
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -4));
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -8));
    EXPECT_EQ(viewer->getWorldVelocity().z, -4.0f);
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -10));
    EXPECT_EQ(viewer->getWorldVelocity().z, 0.0f);
    // On the target with no velocity, the camera stays put.
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -10));
}

TEST_F(CameraTest, TimeScaleScalesTheStepsAndZeroStopsTheCameraButNotTheFrames) {
    viewer->setTimeScale(0.5f);
    camera->setMoveTarget({0, 0, -10});
    camera->setWorldVelocity({0, 0, -4});
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -2));

    viewer->setTimeScale(2.0f);
    ASSERT_TRUE(frame(0.5f));
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -6));

    viewer->setTimeScale(0.0f);
    const float rate = 0.5f;
    camera->startRotationSlerp(rate, plain(Ogre::Quaternion::IDENTITY), plain(QUARTER_YAW));
    const std::size_t before = Ogre::Root::getSingleton().getNextFrameNumber();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(Ogre::Root::getSingleton().getNextFrameNumber(), before + 3);
    EXPECT_EQ(position(), Ogre::Vector3(0, 0, -6));
    EXPECT_EQ(viewer->getSlerpProgress(), 0.0f);
    EXPECT_EQ(viewer->getWorldVelocity().z, -4.0f);

    // Twice the time scale is twice the turn per second.
    viewer->setTimeScale(2.0f);
    ASSERT_TRUE(frame(0.25f));
    EXPECT_EQ(viewer->getSlerpProgress(), 0.25f);
}

TEST_F(CameraTest, LocalVelocityFollowsTheCameraAndStopsByDistanceNotDirection) {
    const float quarter = 90.0f;
    const float none = 0.0f;
    camera->rotateDegrees(none, quarter, none);
    camera->setMoveTarget({-100, 0, 0});
    camera->setLocalVelocity({0, 0, -30});
    ASSERT_TRUE(frame(1.0f));
    EXPECT_TRUE(position().positionEquals(Ogre::Vector3(-30, 0, 0), 1e-4f)) << position();

    // A step away from the target goes on while it is shorter than the remaining way.
    camera->setLocalVelocity({0, 0, 0});
    camera->setWorldVelocity({50, 0, 0});
    ASSERT_TRUE(frame(1.0f));
    ASSERT_TRUE(frame(1.0f));
    EXPECT_TRUE(position().positionEquals(Ogre::Vector3(70, 0, 0), 1e-4f)) << position();
    EXPECT_EQ(viewer->getWorldVelocity().x, 50.0f);
}

TEST_F(CameraTest, OnTheTargetAVelocityIsClearedAndAPlacedCameraStays) {
    // (0, 0, 0) is an ordinary target, and the camera starts on it.
    camera->setLocalVelocity({1, 2, 3});
    camera->setWorldVelocity({4, 5, 6});
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3::ZERO);
    EXPECT_EQ(viewer->getLocalVelocity().z, 0.0f);
    EXPECT_EQ(viewer->getWorldVelocity().z, 0.0f);

    camera->setCameraPosition({7, 8, 9});
    EXPECT_EQ(position(), Ogre::Vector3(7, 8, 9));
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(position(), Ogre::Vector3(7, 8, 9));
    EXPECT_EQ(viewer->getCamera()->getDerivedPosition(), Ogre::Vector3(7, 8, 9));
}

TEST_F(CameraTest, TimedTurnReachesItsEndAndOnlyAnOvershootEndsIt) {
    const float rate = 0.5f;
    camera->startRotationSlerp(rate, plain(Ogre::Quaternion::IDENTITY), plain(QUARTER_YAW));
    EXPECT_TRUE(orientation().equals(Ogre::Quaternion::IDENTITY, TOLERANCE)); // not yet
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(viewer->getSlerpProgress(), 0.5f);
    EXPECT_TRUE(
        orientation().equals(Ogre::Quaternion(Ogre::Degree(45), Ogre::Vector3::UNIT_Y), TOLERANCE));
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(viewer->getSlerpProgress(), 1.0f);
    EXPECT_EQ(viewer->getSlerpRate(), 0.5f);
    EXPECT_TRUE(orientation().equals(QUARTER_YAW, TOLERANCE));
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(viewer->getSlerpProgress(), 1.0f);
    EXPECT_EQ(viewer->getSlerpRate(), 0.0f);
    EXPECT_TRUE(rendered().equals(QUARTER_YAW, TOLERANCE));

    // 0.9 and a step of 0.3 is clamped in that frame.
    const float slow = 0.3f;
    camera->startRotationSlerp(slow, plain(QUARTER_YAW), plain(Ogre::Quaternion::IDENTITY));
    ASSERT_TRUE(frame(3.0f));
    EXPECT_FLOAT_EQ(viewer->getSlerpProgress(), 0.9f);
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(viewer->getSlerpProgress(), 1.0f);
    EXPECT_EQ(viewer->getSlerpRate(), 0.0f);
    EXPECT_TRUE(orientation().equals(Ogre::Quaternion::IDENTITY, TOLERANCE));
}

TEST_F(CameraTest, SetOrientationEndsATimedTurn) {
    const float rate = 0.25f;
    camera->startRotationSlerp(rate, plain(Ogre::Quaternion::IDENTITY), plain(QUARTER_YAW));
    ASSERT_TRUE(frame(1.0f));
    const Ogre::Quaternion set(Ogre::Degree(30), Ogre::Vector3::UNIT_X);
    camera->setOrientation(plain(set));
    EXPECT_EQ(viewer->getSlerpRate(), 0.0f);
    ASSERT_TRUE(frame(1.0f));
    ASSERT_TRUE(frame(1.0f));
    EXPECT_TRUE(orientation().equals(set, TOLERANCE));
}

TEST_F(CameraTest, RotateDegreesTurnsAtOncePitchThenYawThenRoll) {
    const float pitch = 90.0f;
    const float none = 0.0f;
    camera->rotateDegrees(pitch, none, none);
    EXPECT_TRUE(
        orientation().equals(Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_X), TOLERANCE));
    EXPECT_TRUE(
        viewer->getCamera()->getDerivedDirection().positionEquals(Ogre::Vector3::UNIT_Y, 1e-5f));

    // Yaw turns about the world's up axis; roll about the camera's own view axis.
    camera->setOrientation(plain(Ogre::Quaternion::IDENTITY));
    const float yaw = 90.0f;
    const float roll = 90.0f;
    const float tilt = 30.0f;
    camera->rotateDegrees(tilt, yaw, roll);
    const Ogre::Quaternion expected = Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y) *
                                      Ogre::Quaternion(Ogre::Degree(30), Ogre::Vector3::UNIT_X) *
                                      Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Z);
    EXPECT_TRUE(orientation().equals(expected, TOLERANCE)) << orientation() << " " << expected;
}

// What other plug-ins hand the camera is dropped, with one line, when the engine could not
// use it; the camera stays where it was and frames go on.
TEST_F(CameraTest, ValuesTheEngineCannotUseAreDroppedWithOneLine) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float fast = 1.0f;
    const float backwards = -1.0f;
    const float still = 0.0f;
    const FloatQuaternion zero{0, 0, 0, 0};
    const FloatQuaternion identity = plain(Ogre::Quaternion::IDENTITY);
    const std::string at = "ViewerApplication::";
    const std::string notTurn = "(): PlayerCam: quaternion (0, 0, 0, 0) is not a rotation; ignored";
    struct Row {
        std::function<void()> call;
        std::string line;
    };
    const Row rows[] = {
        {[&] { camera->setOrientation(zero); }, at + "setOrientation" + notTurn},
        {[&] { camera->startRotationSlerp(fast, identity, zero); },
         at + "startRotationSlerp" + notTurn},
        {[&] {
             camera->startRotationSlerp(backwards, {nan, 0, 0, 1}, identity);
         },
         at + "startRotationSlerp(): PlayerCam: quaternion (nan, 0, 0, 1) is not a rotation; "
              "ignored"},
        {[&] { camera->startRotationSlerp(inf, identity, identity); },
         at + "startRotationSlerp(): PlayerCam: rate inf is not finite; ignored"},
        {[&] {
             camera->setCameraPosition({inf, 0, 0});
         },
         at + "setCameraPosition(): PlayerCam: vector (inf, 0, 0) is not finite; ignored"},
        {[&] {
             camera->setLocalVelocity({0, nan, 0});
         },
         at + "setLocalVelocity(): PlayerCam: vector (0, nan, 0) is not finite; ignored"},
        {[&] {
             camera->setWorldVelocity({0, 0, -inf});
         },
         at + "setWorldVelocity(): PlayerCam: vector (0, 0, -inf) is not finite; ignored"},
        {[&] {
             camera->setMoveTarget({nan, 0, 0});
         },
         at + "setMoveTarget(): PlayerCam: vector (nan, 0, 0) is not finite; ignored"},
        {[&] { camera->rotateDegrees(still, nan, still); },
         at + "rotateDegrees(): PlayerCam: angles (0, nan, 0) are not finite; ignored"},
    };
    camera->setMoveTarget({1, 2, 3});
    camera->setCameraPosition({1, 2, 3});
    camera->setOrientation(plain(QUARTER_YAW));
    const Ogre::Quaternion turned = orientation();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        ::testing::internal::CaptureStderr();
        row.call();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.line + "\n");
        ASSERT_TRUE(frame(1.0f));
        EXPECT_EQ(position(), Ogre::Vector3(1, 2, 3));
        EXPECT_EQ(orientation(), turned);
        EXPECT_EQ(viewer->getSlerpRate(), 0.0f);
    }
}

// The frame's own motion: a turn that the engine could not normalise ends with one line,
// the camera as the frame found it; and paused time, which a scale that is not a number
// does not end, keeps the camera still even where a velocity overflows over a long frame.
TEST_F(CameraTest, AFrameKeepsTheCameraWhereItsMotionLeavesTheRangeOfFloats) {
    camera->setCameraPosition({1, 2, 3});
    camera->setOrientation(plain(QUARTER_YAW));
    const Ogre::Quaternion turned = orientation();
    const FloatQuaternion identity = plain(Ogre::Quaternion::IDENTITY);
    const float farBackwards = -3e38f;
    camera->startRotationSlerp(farBackwards, identity, identity);
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(frame(1.0f));
    const std::string line = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(line,
                ::testing::StartsWith("ViewerApplication::renderFrame(): PlayerCam: quaternion ("));
    EXPECT_THAT(line, ::testing::EndsWith(") is not a rotation; turn stopped\n"));
    EXPECT_EQ(viewer->getSlerpRate(), 0.0f);
    EXPECT_EQ(orientation(), turned);

    viewer->setTimeScale(0.0f);
    camera->setWorldVelocity({3e38f, 0, 0});
    ::testing::internal::CaptureStderr();
    viewer->setTimeScale(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ViewerApplication::setTimeScale(): nan is not a finite time scale; it stays at 0\n");
    ASSERT_TRUE(frame(2.0f));
    EXPECT_EQ(position(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(viewer->getWorldVelocity().x, 3e38f);
}

} // namespace
} // namespace corvane
